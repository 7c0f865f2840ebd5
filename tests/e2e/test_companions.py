"""The commentary viewer, help window, introduction window and About box of
the real program, opened from the settings dialog under Wine."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import main  # noqa: E402
from test_settings_dialog import DialogTestCase  # noqa: E402
from winebox import wait_until  # noqa: E402
import windows_driver as wd  # noqa: E402

EM_GETSEL = 0x00B0
ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


class Companions(DialogTestCase):
    def open_dialog(self):
        p = self.start("/c")
        info = self.box.wait_window_where(wd.DIALOG, lambda w: w["visible"], 30, "shown")
        return p, info["hwnd"]

    def viewer_parts(self, viewer):
        # Under load a first look may come back empty; the controls exist
        # once the window is visible, so a short bounded retry is enough.
        def look():
            children = self.box.children(viewer)
            return children if any(c["class"] == "ComboBox" for c in children) else None
        children = wait_until(look, 10, interval=0.2, what="viewer controls")
        chooser = next(c for c in children if c["class"] == "ComboBox")
        boxes = sorted((c for c in children if c["class"] == "Edit"), key=lambda c: c["top"])
        return chooser, boxes

    def test_viewer_keeps_a_hundred_entries_and_shows_poem_one_when_nothing_is_chosen(self):
        p, dialog = self.open_dialog()
        self.box.press(dialog, "解説")
        viewer = self.box.wait_window_where(wd.VIEWER, lambda w: w["visible"], 20)["hwnd"]
        chooser, boxes = self.viewer_parts(viewer)
        count, sel, items = wd.combo(self.box, chooser["hwnd"])
        self.assertEqual((count, sel), (100, -1))
        self.assertEqual(items[0], " 1  あきのたの かりほのいほの")
        self.assertTrue(items[99].startswith(" 100  "))
        # Opened again from the menu, with the kana key: still one window of 100.
        wd.menu_entry(self.box, dialog, "h", "ｿ")
        time.sleep(1.0)
        self.box.press(dialog, "解説")
        time.sleep(0.5)
        self.assertEqual(self.box.count(wd.VIEWER), 1)
        self.assertEqual(wd.combo(self.box, chooser["hwnd"])[0], 100)

        self.box.press(viewer, "決定")
        wait_until(lambda: wd.control_text(self.box, boxes[2]["hwnd"]) == "天智天皇", 10, what="poem 1")
        self.assertEqual(wd.combo(self.box, chooser["hwnd"])[1], 0)
        self.assertEqual(wd.control_text(self.box, boxes[0]["hwnd"]), "あきのたの かりほのいほの とまをあらみ")
        self.assertEqual(wd.control_text(self.box, boxes[1]["hwnd"]), "わがころもでは つゆにぬれつつ")
        comment = wd.control_text(self.box, boxes[3]["hwnd"])
        self.assertFalse(comment.startswith("（通釈）"))
        self.assertTrue(comment.endswith("。"))

        wd.select(self.box, chooser["hwnd"], 99)
        self.box.press(viewer, "決定")
        wait_until(lambda: wd.control_text(self.box, boxes[2]["hwnd"]) == "順徳院", 10, what="poem 100")
        self.box.press(viewer, "終　了")
        self.box.wait_gone(wd.VIEWER, 10)
        self.assertIsNone(p.poll())

    def test_tab_walks_each_window_and_every_other_key_stays_with_the_control(self):
        p, dialog = self.open_dialog()
        self.box.press(dialog, "解説")
        viewer = self.box.wait_window_where(wd.VIEWER, lambda w: w["visible"], 20)["hwnd"]
        chooser, boxes = self.viewer_parts(viewer)
        order = [chooser["hwnd"], *(b["hwnd"] for b in boxes), wd.by_text(self.box, viewer, "決定")["hwnd"],
                 wd.by_text(self.box, viewer, "終　了")["hwnd"]]
        parts = len(self.box.children(viewer))
        wait_until(lambda: (wd.focused(self.box, viewer) or {}).get("hwnd") == order[0], 10, what="chooser")
        wd.walk(self.box, viewer, "Tab", order[1:] + order[:1])
        wd.walk(self.box, viewer, "shift+Tab", order[::-1])
        # The commentary box takes Return as a line break, never a tab
        # character, and coming back to it keeps the caret where it was
        # rather than selecting what is written; Escape changes nothing.
        commentary = order[4]
        wd.walk(self.box, viewer, "Tab", order[1:5])
        self.box.xdotool("key", "a", "Return", "b")
        wd.walk(self.box, viewer, "Tab", order[5:6])
        wd.walk(self.box, viewer, "shift+Tab", [commentary])
        self.box.xdotool("key", "c", "Escape")
        wd.walk(self.box, viewer, "Tab", order[5:6])
        self.assertEqual(wd.control_text(self.box, commentary), "a\r\nbc")
        self.assertEqual(len(self.box.children(viewer)), parts)

        # The help window: its button, then its text, which keeps no
        # selection; Escape in the text closes nothing.
        wd.menu_entry(self.box, dialog, "h", "h")
        help_window = self.box.wait_window_where(wd.HELP, lambda w: w["visible"], 20)["hwnd"]
        text = next(c["hwnd"] for c in self.box.children(help_window) if c["class"] == "Edit")
        ok = wd.by_text(self.box, help_window, "ＯＫ！")["hwnd"]
        wait_until(lambda: (wd.focused(self.box, help_window) or {}).get("hwnd") == ok, 10, what="OK")
        wd.walk(self.box, help_window, "Tab", [text, ok, text])
        self.assertEqual(wd.send(self.box, text, EM_GETSEL), 0)
        self.box.xdotool("key", "Escape")
        wd.walk(self.box, help_window, "shift+Tab", [ok, text, ok])
        self.assertIsNotNone(self.box.find(wd.HELP))

        # The introduction window: its button, the introduction, the address.
        wd.menu_entry(self.box, dialog, "h", "e")
        sales = self.box.wait_window_where(wd.SALES, lambda w: w["visible"], 20)["hwnd"]
        introduction, address = (c["hwnd"] for c in sorted(
            (c for c in self.box.children(sales) if c["class"] == "Edit"), key=lambda c: c["top"]))
        ok = wd.by_text(self.box, sales, "ＯＫ！")["hwnd"]
        parts = len(self.box.children(sales))
        wait_until(lambda: (wd.focused(self.box, sales) or {}).get("hwnd") == ok, 10, what="OK")
        wd.walk(self.box, sales, "Tab", [introduction, address, ok, introduction])
        self.box.xdotool("key", "Escape")
        wd.walk(self.box, sales, "shift+Tab", [ok, address, introduction])
        self.assertEqual(len(self.box.children(sales)), parts)
        self.assertIsNone(p.poll())

    def test_help_window_shows_the_help_text_and_closes_with_ok(self):
        p, dialog = self.open_dialog()
        wd.menu_entry(self.box, dialog, "h", "h")
        help_window = self.box.wait_window_where(wd.HELP, lambda w: w["visible"], 20)
        self.assertEqual((help_window["cw"], help_window["ch"]), (490, 385))
        text_box = next(c for c in self.box.children(help_window["hwnd"]) if c["class"] == "Edit")
        with open(os.path.join(ROOT, "assets", "help", "MirobelHelp.txt"), "rb") as f:
            expected = f.read().decode("cp932")
        self.assertEqual(wd.control_text(self.box, text_box["hwnd"]), expected)
        self.box.press(help_window["hwnd"], "ＯＫ！")
        self.box.wait_gone(wd.HELP, 10)
        self.assertIsNone(p.poll())

    def test_introduction_window_races_its_cyclists_to_the_left(self):
        p, dialog = self.open_dialog()
        wd.menu_entry(self.box, dialog, "h", "ｲ")
        sales = self.box.wait_window_where(wd.SALES, lambda w: w["visible"], 20)
        self.assertEqual((sales["cw"], sales["ch"]), (502, 394))

        def cyclists():
            return sorted(((c["left"], c["top"]) for c in self.box.children(sales["hwnd"])
                           if c["class"] == "MirobelImage" and c["width"] == 32), key=lambda c: -c[1])

        first = cyclists()
        self.assertEqual(len(first), 4)
        # Each rides 8 pixels higher than the one before; only the lefts change.
        tops = [t for _, t in first]
        self.assertEqual([b - a for a, b in zip(tops, tops[1:])], [-8, -8, -8])
        moved = wait_until(lambda: cyclists() != first and cyclists(), 10, what="cyclists moving")
        self.assertEqual([t for _, t in moved], tops)
        self.box.press(sales["hwnd"], "ＯＫ！")
        self.box.wait_gone(wd.SALES, 10)
        self.assertIsNone(p.poll())

    def test_about_box_can_be_opened_again_and_again_with_the_same_text(self):
        p, dialog = self.open_dialog()
        texts = []
        for _ in range(2):
            wd.menu_entry(self.box, dialog, "h", "a")
            about = self.box.wait_window(wd.VERSION_TITLE, 20)
            texts.append(self.box.box_text(about["hwnd"]))
            self.box.press(about["hwnd"], "OK")
            self.box.wait_gone(wd.VERSION_TITLE, 10)
        self.assertEqual(texts[0], texts[1])
        lines = texts[0][0].split("\r\n")
        self.assertTrue(lines[0].startswith("This program was written with MinGW-w64 GCC "), lines[0])
        self.assertTrue(lines[0].endswith(" for Win."))
        self.assertEqual(lines[1:3], ["", ""])
        self.assertTrue(lines[3].startswith("ミロベル　スクリーンセイバー Ver1.5  was produced by "))
        self.assertEqual(lines[4], "")
        self.assertEqual(lines[6], "")  # the text ends with a line break
        self.assertIsNone(p.poll())


if __name__ == "__main__":
    main()
