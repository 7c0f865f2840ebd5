#!/usr/bin/python3
"""The layer check finds the edges it is there to find, in trees of its own."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_layers import check  # noqa: E402


def tree(files):
    root = tempfile.mkdtemp(prefix="layers-")
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write(text)
    return root


class LayerCheck(unittest.TestCase):
    def test_downward_edges_pass(self):
        root = tree({
            "core/base/Errors.h": "",
            "core/poems/Poems.cpp": '#include "core/base/Errors.h"\n#include "PoemRecords.inc"\n',
            "core/show/Card.cpp": '#include "core/poems/Poems.h"\n#include "core/settings/Settings.h"\n',
            "win32/show/frmDisp.cpp": '#include "core/show/ShowState.h"\n#include "win32/base/Place.h"\n',
            "x11/show/CairoShow.cpp": '#include "core/show/ShowState.h"\n#include <cairo.h>\n',
            "app/Main.cpp": '#include "win32/show/Show.h"\n#include <windows.h>\n',
            "web/app/main.cpp": '#include "web/show/CanvasShowSession.h"\n#include "core/show/Card.h"\n#include <emscripten.h>\n',
        })
        self.assertEqual(check(root), [])

    def test_every_kind_of_wrong_edge_is_named(self):
        root = tree({
            "core/base/Platform.h": '#include "core/show/ShowState.h"\n',        # upward in the core
            "core/show/Card.cpp": '#include "win32/base/Place.h"\n',            # core into a platform
            "core/settings/Store.cpp": "#include <windows.h>\n",                # Windows header in the core
            "win32/companions/Forms.cpp": '#include "win32/show/GdiShow.h"\n',  # upward in a platform
            "win32/base/Util.cpp": '#include "x11/base/Fonts.h"\n',             # one platform into another
            "x11/show/Show.cpp": '#include "app/Main.h"\n',                     # a platform into the entry
            "web/show/CanvasShow.cpp": '#include "x11/show/CairoShow.h"\n',     # the web page into X
            "core/base/Random.cpp": "#include <emscripten.h>\n",                # a browser header in the core
            "stray.cpp": "",                                                     # in no layer
        })
        problems = "\n".join(check(root))
        for file in ("core/base/Platform.h", "core/show/Card.cpp", "core/settings/Store.cpp",
                     "win32/companions/Forms.cpp", "win32/base/Util.cpp", "x11/show/Show.cpp",
                     "web/show/CanvasShow.cpp", "core/base/Random.cpp", "stray.cpp"):
            self.assertIn(file, problems)
        self.assertEqual(len(check(root)), 9)


if __name__ == "__main__":
    unittest.main(verbosity=2)
