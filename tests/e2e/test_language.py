"""The language the windows speak: the stored "language" when it is "ja" or
"en", otherwise the desktop's (Japanese on a Japanese desktop, English on any
other), never with a box; and the language menu, stored by an apply."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import SETTINGS_KEY, Config, WineTestCase, main  # noqa: E402
import windows_driver as wd  # noqa: E402
from winebox import WineBox  # noqa: E402

ENGLISH = {"title": "Mirobel ScreenSaver", "apply": "Apply", "viewer": "Hyakunin Isshu",
           "help": "How to use Mirobel Screen Saver", "about": "Mirobel Screen Saver Ver1.5"}
JAPANESE = {"title": "ミロベル ScreenSaver", "apply": "更新", "viewer": wd.VIEWER, "help": wd.HELP,
            "about": wd.VERSION_TITLE}
LANGUAGE_MENU = 220  # + 0 Japanese, 1 English (src/win32/settings/frmSet.h)


class Language(WineTestCase):
    interface = "en"
    language = None  # each test stores what it needs

    @classmethod
    def setUpClass(cls):
        cls.box = WineBox(Config.build, interface=cls.interface).__enter__()
        cls.box.set_probe(Config.probe)

    def kill_leftovers(self):
        super().kill_leftovers()
        for words in (ENGLISH, JAPANESE):
            for caption in (words["viewer"], words["help"], words["about"]):
                info = self.box.find(caption)
                while info:
                    self.box.probe("kill", str(info["pid"]))
                    self.box.wait_gone(caption, 10)
                    info = self.box.find(caption)

    def open_dialog(self):
        p = self.start("/c")
        dialog = self.box.wait_window_where(wd.DIALOG, lambda w: w["visible"], 30, "shown")["hwnd"]
        return p, dialog

    def assert_speaks(self, words, stored):
        """The dialog, the viewer, the help window and the About box in one
        language, and no error box on the way."""
        if stored is not None:
            self.box.reg_set(SETTINGS_KEY, "language", stored)
        p, dialog = self.open_dialog()
        wd.by_text(self.box, dialog, words["title"])
        wd.by_text(self.box, dialog, words["apply"], "Button")
        wd.menu_entry(self.box, dialog, "h", "c")
        self.box.wait_window(words["viewer"], 20)
        wd.menu_entry(self.box, dialog, "h", "h")
        self.box.wait_window(words["help"], 20)
        wd.menu_entry(self.box, dialog, "h", "a")
        about = self.box.wait_window(words["about"], 20)
        self.assertIsNone(self.box.find("エラー"))
        self.assertIsNone(self.box.find("Error"))
        self.box.probe("kill", str(about["pid"]))
        p.wait(timeout=30)


class EnglishDesktop(Language):
    def test_missing_or_unusable_values_speak_english_without_a_box(self):
        for stored in (None, "fr", "JA", "", "1"):
            with self.subTest(stored=stored):
                self.assert_speaks(ENGLISH, stored)

    def test_a_stored_ja_speaks_japanese(self):
        self.assert_speaks(JAPANESE, "ja")

    def test_the_language_menu_relabels_the_dialog_and_an_apply_stores_the_choice(self):
        p, dialog = self.open_dialog()
        wd.post(self.box, dialog, wd.WM_COMMAND, LANGUAGE_MENU)
        self.box.wait_window_where(wd.DIALOG, lambda w: any(
            c["text"] == JAPANESE["apply"] for c in self.box.children(w["hwnd"])), 20, "relabelled")
        self.assertIsNone(self.box.reg_query(SETTINGS_KEY, "language"))
        self.box.press(dialog, JAPANESE["apply"])
        question = self.box.wait_window(wd.VERSION_TITLE, 20)
        wd.press_id(self.box, question["hwnd"], wd.IDYES)
        p.wait(timeout=30)
        self.assertEqual(self.box.reg_query(SETTINGS_KEY, "language")[1].strip(), "ja")


class JapaneseDesktop(Language):
    interface = "ja"

    def test_missing_or_unusable_values_speak_japanese(self):
        for stored in (None, "english"):
            with self.subTest(stored=stored):
                self.assert_speaks(JAPANESE, stored)

    def test_a_stored_en_speaks_english(self):
        self.assert_speaks(ENGLISH, "en")

    # The failed load is reported in the stored language, though the desktop
    # speaks Japanese and the language is read after the failure.
    def test_an_error_box_speaks_the_stored_language(self):
        for key, value in (("language", "en"), ("speed", "40000"), ("music mode", "0")):
            self.box.reg_set(SETTINGS_KEY, key, value)
        self.start("/s")
        box = self.box.wait_window("Error", 30)
        self.assertEqual(self.box.box_text(box["hwnd"]), ["Error 6 occurred in Mirobel.\rOverflow."])
        self.assertIsNone(self.box.find("エラー"))


if __name__ == "__main__":
    main()
