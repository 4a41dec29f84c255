#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the keyboard picture of each keyboard model: writes Position/KBKey.json of every model
folder (one rectangle per key control, the keys a model lacks hidden) and the key controls of
res/KeyboardPage.xml (the full-size layout, used until a model's file is applied).

Positions are in key units (u); a key is u wide per unit less the gap between caps."""
import json
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent / "res"
CARD_W, CARD_H = 942, 262
U, GAP = 37, 3


def row(y, *keys):
    """keys: (name, x, width=1, height=1)"""
    return [(k[0], k[1], y, k[2] if len(k) > 2 else 1, k[3] if len(k) > 3 else 1) for k in keys]


def letters(names, x0):
    return [(n, x0 + i) for i, n in enumerate(names)]


NUM = ["1", "2", "3", "4", "5", "6", "7", "8", "9", "0"]
QROW = ["Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"]
AROW = ["A", "S", "D", "F", "G", "H", "J", "K", "L"]
ZROW = ["Z", "X", "C", "V", "B", "N", "M"]


def main_block(y0, esc_on_number_row=False):
    keys = []
    r1 = [("Esc" if esc_on_number_row else "Wave", 0)] + letters(NUM, 1) + [
        ("UnderLine", 11), ("AddEqual", 12), ("Back", 13, 2)]
    keys += row(y0, *r1)
    keys += row(y0 + 1, ("Tab", 0, 1.5), *letters(QROW, 1.5), ("LBrace", 11.5), ("RBrace", 12.5),
                ("Vertical", 13.5, 1.5))
    keys += row(y0 + 2, ("Caps", 0, 1.75), *letters(AROW, 1.75), ("Semi", 10.75), ("Quo", 11.75),
                ("Enter", 12.75, 2.25))
    return keys


def full_size():
    keys = row(0, ("Esc", 0), ("F1", 2), ("F2", 3), ("F3", 4), ("F4", 5), ("F5", 6.5), ("F6", 7.5),
               ("F7", 8.5), ("F8", 9.5), ("F9", 11), ("F10", 12), ("F11", 13), ("F12", 14),
               ("PrintSc", 15.25), ("Scroll", 16.25), ("Pause", 17.25))
    y = 1.35
    keys += main_block(y)
    keys += row(y + 3, ("LShift", 0, 2.25), *letters(ZROW, 2.25), ("LAngle", 9.25),
                ("RAngle", 10.25), ("Question", 11.25), ("RShift", 12.25, 2.75), ("Up", 16.25))
    keys += row(y + 4, ("LCtrl", 0, 1.25), ("LWin", 1.25, 1.25), ("LAlt", 2.5, 1.25),
                ("Space", 3.75, 6.25), ("RAlt", 10, 1.25), ("Fn", 11.25, 1.25),
                ("Light", 12.5, 1.25), ("RCtrl", 13.75, 1.25), ("Left", 15.25), ("Down", 16.25),
                ("Right", 17.25))
    keys += row(y, ("Insert", 15.25), ("Home", 16.25), ("Pgup", 17.25))
    keys += row(y + 1, ("Delete", 15.25), ("End", 16.25), ("Pgdn", 17.25))
    n = 18.5
    keys += row(y, ("NumLock", n), ("KeyPadDivide", n + 1), ("KeyPadMulti", n + 2),
                ("KeyPadSub", n + 3))
    keys += row(y + 1, ("KeyPad7", n), ("KeyPad8", n + 1), ("KeyPad9", n + 2),
                ("KeyPadAdd", n + 3, 1, 2))
    keys += row(y + 2, ("KeyPad4", n), ("KeyPad5", n + 1), ("KeyPad6", n + 2))
    keys += row(y + 3, ("KeyPad1", n), ("KeyPad2", n + 1), ("KeyPad3", n + 2),
                ("KeyPadEnter", n + 3, 1, 2))
    keys += row(y + 4, ("KeyPad0", n, 2), ("KeyPadPoint", n + 2))
    keys += row(0, ("Calc", n + 3))  # model A's extra key, above the keypad
    return keys


def sixty_five():
    keys = main_block(0, esc_on_number_row=True)
    keys += row(0, ("Wave", 15))
    keys += row(1, ("Delete", 15))
    keys += row(2, ("Pgup", 15))
    keys += row(3, ("LShift", 0, 2.25), *letters(ZROW, 2.25), ("LAngle", 9.25), ("RAngle", 10.25),
                ("Question", 11.25), ("RShift", 12.25, 1.75), ("Up", 14), ("Pgdn", 15))
    keys += row(4, ("LCtrl", 0, 1.25), ("LWin", 1.25, 1.25), ("LAlt", 2.5, 1.25),
                ("Space", 3.75, 6.25), ("RAlt", 10), ("Fn", 11), ("RCtrl", 12), ("Left", 13),
                ("Down", 14), ("Right", 15))
    return keys


KEYPAD = {"NumLock", "KeyPadDivide", "KeyPadMulti", "KeyPadSub", "KeyPad7", "KeyPad8", "KeyPad9",
          "KeyPadAdd", "KeyPad4", "KeyPad5", "KeyPad6", "KeyPad1", "KeyPad2", "KeyPad3",
          "KeyPadEnter", "KeyPad0", "KeyPadPoint"}


def rects(keys):
    """Pixel rectangles [x, y, w, h] inside the card, the layout centred."""
    width = max(x + w for _, x, _, w, _ in keys)
    height = max(y + h for _, _, y, _, h in keys)
    x0 = round((CARD_W - (width * U - GAP)) / 2)
    y0 = round((CARD_H - (height * U - GAP)) / 2)
    return {name: [x0 + round(x * U), y0 + round(y * U), round(w * U) - GAP, round(h * U) - GAP]
            for name, x, y, w, h in keys}


def all_names():
    return [k[0] for k in full_size()]


def model_layouts():
    full = rects(full_size())
    tkl = rects([k for k in full_size() if k[0] not in KEYPAD and k[0] != "Calc"])
    c65 = rects(sixty_five())
    return {"KeyboardA": full, "KeyboardB": tkl, "KeyboardC": c65}


def write_positions():
    names = all_names()
    for folder, placed in model_layouts().items():
        controls = []
        for name in names:
            rect = placed.get(name, [0, 0, 0, 0])
            controls.append({"type": "option", "ctrlname": "btn_KBKey_" + name, "pos": rect,
                             "visible": "true" if name in placed else "false"})
        sheet = {"Containerinfo": {"containname": "KB_Keys", "width": CARD_W, "height": CARD_H,
                                   "bkimage": "", "normalimage": "", "overimage": "",
                                   "downimage": ""},
                 "Controlinfo": controls}
        path = ROOT / "KeyboardKorv" / folder / "Position" / "KBKey.json"
        path.parent.mkdir(parents=True, exist_ok=True)
        lines = ",\n".join("        " + json.dumps(c, ensure_ascii=False) for c in controls)
        path.write_text("{\n    \"Containerinfo\": " + json.dumps(sheet["Containerinfo"]) +
                        ",\n    \"Controlinfo\": [\n" + lines + "\n    ]\n}\n")


def write_skin():
    full = rects(full_size())
    lines = []
    for name in all_names():
        x, y, w, h = full[name]
        lines.append(f'      <CheckBox name="btn_KBKey_{name}" style="kb_key" float="true" '
                     f'pos="{x},{y},{x + w},{y + h}"/>')
    skin = ROOT / "KeyboardPage.xml"
    text = skin.read_text()
    text = re.sub(r"(<!-- keys -->\n).*?(\s*<!-- /keys -->)",
                  lambda m: m.group(1) + "\n".join(lines) + m.group(2), text, flags=re.S)
    skin.write_text(text)


def write_sheet(path, container, width, height, controls):
    lines = ",\n".join("        " + json.dumps(c, ensure_ascii=False) for c in controls)
    info = {"containname": container, "width": width, "height": height, "bkimage": "",
            "normalimage": "", "overimage": "", "downimage": ""}
    path.write_text("{\n    \"Containerinfo\": " + json.dumps(info) + ",\n    \"Controlinfo\": [\n" +
                    lines + "\n    ]\n}\n")


def floating_children(element):
    """Entries for the named floating controls inside an element, as the skin places them."""
    kinds = {"Label": "label", "Button": "button", "Combo": "button", "Option": "option",
             "CheckBox": "option", "Slider": "slider"}
    entries = []
    for child in element.iter():
        name, pos = child.get("name"), child.get("pos")
        if child is element or not name or not pos or child.get("float") != "true":
            continue
        if name.startswith("btn_KBKey_") or name == "btn_KB_Temp":
            continue
        l, t, r, b = (int(v) for v in pos.split(","))
        entry = {"type": kinds.get(child.tag, "label"), "ctrlname": name, "pos": [l, t, r - l, b - t]}
        if entry["type"] == "slider":
            entry["thumbimage"] = ""
        entries.append(entry)
    return entries


def write_page_sheets():
    """KBMain.json (the page's frame and settings) and KBlight.json (the lighting panel), the
    same for every model: they keep the places the skin gives."""
    import xml.etree.ElementTree as ET
    tree = ET.parse(ROOT / "KeyboardPage.xml")
    main = next(e for e in tree.iter() if e.get("name") == "KB_Main")
    light = next(e for e in tree.iter() if e.get("name") == "KB_Light")
    keys_view = next(e for e in tree.iter() if e.get("name") == "KB_KeysView")
    frame = [c for c in floating_children(main) if c["ctrlname"] not in
             {e.get("name") for e in light.iter()} and c["ctrlname"] not in
             {e.get("name") for e in keys_view.iter() if e.get("name") not in ("KB_Keys", "KB_Settings")}]
    settings = next(e for e in tree.iter() if e.get("name") == "KB_Settings")
    frame += floating_children(settings)
    panel = floating_children(light)
    for folder in model_layouts():
        base = ROOT / "KeyboardKorv" / folder / "Position"
        write_sheet(base / "KBMain.json", "KB_Main", CARD_W, 423, frame)
        write_sheet(base / "KBlight.json", "KB_Light", CARD_W, 377, panel)


if __name__ == "__main__":
    write_positions()
    write_skin()
    write_page_sheets()
