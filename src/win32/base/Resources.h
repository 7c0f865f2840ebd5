// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_MIROBEL 1
#define IDR_FONT_BRUSH 10
#define IDR_FONT_MINCHO 11
// The preview picture, a 24-bit 200 x 140 bitmap.
#define IDB_PREVIEW 20
// The settings dialog's companion windows: the help window's icon, the
// pictures of the dialog, the viewer and the introduction window, the four
// cyclists (IDI_CYCLIST_BASE + i) and the Shift-JIS help text.
#define IDI_HELP 30
#define IDB_SET_IMAGE 31
#define IDB_COMMENT_IMAGE 32
#define IDB_SALES_PICTURE 33
#define IDI_CYCLIST_BASE 34
#define IDR_HELP_TEXT 38
// The help text for readers of English, in ASCII.
#define IDR_HELP_TEXT_ENGLISH 39
// Portrait of poem n is IDR_PORTRAIT_BASE + n.
#define IDR_PORTRAIT_BASE 100
