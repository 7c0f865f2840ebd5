// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_MIROBEL 1
#define IDR_FONT_BRUSH 10
#define IDR_FONT_MINCHO 11
// Portrait of poem n is IDR_PORTRAIT_BASE + n.
#define IDR_PORTRAIT_BASE 100
