#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the mouse page: the picture of each mouse model (res/MouseKorv/<model>/Skin/mouse.svg)
and the model's position files (Position/mousekey.json, mouseadv.json, mouselight.json,
mousemain.json), which place the key buttons beside the picture and the marks on its keys. The page hides the
buttons and marks of keys a model lacks (its KeyNum).
Python standard library only; run it after changing a model's keys or the page's layout."""
import json
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
MICE = ROOT / "res" / "MouseKorv"

# The picture's box inside the key card, and the key buttons beside it.
PICTURE = (110, 22, 110, 280)  # x, y, width, height
BUTTON_W, BUTTON_H = 92, 30
LEFT_X, RIGHT_X = 12, 226
ROW_Y0, ROW_STEP = 26, 44
MARK = 14
BINDINGS = 13

BODY = ("M55,6 C88,6 104,34 104,96 L104,196 C104,246 86,274 55,274 "
        "C24,274 6,246 6,196 L6,96 C6,34 22,6 55,6 Z")

SIDE_GRID = [(18 + 14 * (i % 2), 118 + 20 * (i // 2), "grid") for i in range(8)]

# Keys of each model: (x, y, shape) in picture coordinates; shapes: wheel, top (a button half),
# side (a thumb button), small (a button behind the wheel), under (a switch underneath), grid.
MODELS = {
    "MouseA": {"keys": [(30, 56, "top"), (80, 56, "top"), (55, 48, "wheel"), (8, 150, "side"),
                        (8, 118, "side"), (55, 90, "small")],
               "light": "logo"},
    "MouseB": {"keys": [(30, 56, "top"), (80, 56, "top"), (55, 48, "wheel"), (8, 150, "side"),
                        (8, 118, "side"), (55, 122, "small"), (55, 86, "small"),
                        (55, 102, "small")],
               "light": "strip"},
    "MouseC": {"keys": [(30, 56, "top"), (80, 56, "top"), (55, 48, "wheel"), (8, 150, "side"),
                        (8, 118, "side"), (55, 90, "small"), (55, 206, "under")],
               "light": "logo"},
    # The side panel's first two buttons are back and forward; the DPI key sits behind the wheel.
    "MouseE": {"keys": [(30, 56, "top"), (80, 56, "top"), (55, 48, "wheel")] + SIDE_GRID[:2]
                       + [(55, 90, "small")] + SIDE_GRID[2:],
               "light": "ring"},
    "MouseF": {"keys": [(30, 56, "top"), (80, 56, "top"), (55, 48, "wheel"), (8, 150, "side"),
                        (8, 118, "side")],
               "light": "logo"},
    "MouseD": None,  # a catalogue row without a shipped folder
}


def svg(model):
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 110 280" width="110" height="280">',
        '<defs><linearGradient id="shell" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#3A404C"/><stop offset="1" stop-color="#23272F"/>'
        '</linearGradient>'
        '</defs>',
        f'<path d="{BODY}" fill="url(#shell)" stroke="#4A505A" stroke-width="2"/>',
        # the two button halves and their seam
        '<path d="M55,6 L55,108 M8,108 C30,116 80,116 102,108" stroke="#15181D" '
        'stroke-width="2" fill="none"/>',
    ]
    light = model["light"]
    if light == "logo":
        parts.append('<circle cx="55" cy="214" r="22" fill="#3D8BFD" fill-opacity="0.25"/>'
                     '<circle cx="55" cy="214" r="14" fill="#3D8BFD" fill-opacity="0.35"/>'
                     '<path d="M46,206 L55,224 L64,206" stroke="#C9CFD8" stroke-width="3" '
                     'fill="none" stroke-linecap="round" stroke-linejoin="round"/>')
    elif light == "strip":
        for side in (10, 100):
            for i in range(6):
                parts.append(f'<rect x="{side - 2}" y="{176 + i * 12}" width="4" height="8" rx="2" '
                             'fill="#5A9DFF"/>')
    elif light == "ring":
        parts.append('<ellipse cx="55" cy="214" rx="30" ry="34" fill="none" stroke="#5A9DFF" '
                     'stroke-width="3" stroke-dasharray="8 6"/>')
    for x, y, shape in model["keys"]:
        if shape == "wheel":
            parts.append(f'<rect x="{x - 6}" y="{y - 18}" width="12" height="36" rx="6" '
                         'fill="#15181D" stroke="#8A919C" stroke-width="1.5"/>')
        elif shape == "side":
            parts.append(f'<rect x="{x - 6}" y="{y - 12}" width="10" height="24" rx="4" '
                         'fill="#2B3140" stroke="#8A919C" stroke-width="1.2"/>')
        elif shape == "small":
            parts.append(f'<rect x="{x - 7}" y="{y - 5}" width="14" height="10" rx="3" '
                         'fill="#2B3140" stroke="#8A919C" stroke-width="1.2"/>')
        elif shape == "grid":
            parts.append(f'<rect x="{x - 6}" y="{y - 8}" width="12" height="16" rx="3" '
                         'fill="#2B3140" stroke="#8A919C" stroke-width="1.2"/>')
        elif shape == "under":
            parts.append(f'<circle cx="{x}" cy="{y}" r="8" fill="none" stroke="#8A919C" '
                         'stroke-width="1.5" stroke-dasharray="3 2"/>')
    parts.append("</svg>\n")
    return "\n".join(parts)


def rect(x, y, w, h):
    return [x, y, w, h]


def button_pos(k):
    column = LEFT_X if k % 2 == 0 else RIGHT_X
    return rect(column, ROW_Y0 + ROW_STEP * (k // 2), BUTTON_W, BUTTON_H)


def key_sheet(name, model):
    px, py, pw, ph = PICTURE
    controls = [{"type": "label", "ctrlname": "Mouse_Picture", "pos": list(PICTURE)}]
    keys = model["keys"]
    for k in range(BINDINGS):
        shown = k < len(keys)
        controls.append({"type": "button", "ctrlname": f"btn_MouseKey_Click{k}",
                         "pos": button_pos(k)})
        if shown:
            x, y, _ = keys[k]
            mark = rect(px + x - MARK // 2, py + y - MARK // 2, MARK, MARK)
        else:
            mark = rect(0, 0, MARK, MARK)
        controls.append({"type": "option", "ctrlname": f"btn_MouseKey_Mark{k}", "pos": mark})
    return {"Containerinfo": container("Mouse_Picture", pw, ph,
                                       f"MouseKorv/{name}/Skin/mouse.svg"),
            "Controlinfo": controls}


def container(name, w, h, bkimage=""):
    return {"containname": name, "width": w, "height": h, "bkimage": bkimage,
            "normalimage": "", "overimage": "", "downimage": ""}


# The advanced card: six DPI levels in columns, the DPI value, polling rate and fire speed.
def adv_controls():
    c = [{"type": "label", "ctrlname": "lab_MouseAdv_DpiText", "pos": rect(20, 12, 560, 26)}]
    for n in range(6):
        x = 20 + n * 95
        c.append({"type": "option", "ctrlname": f"chk_MouseAdv_PDIEn{n}", "pos": rect(x, 42, 85, 26)})
        c.append({"type": "option", "ctrlname": f"chk_MouseAdv_SelDPI{n}", "pos": rect(x, 72, 85, 32)})
        c.append({"type": "button", "ctrlname": f"btn_MouseAdv_Color{n}", "pos": rect(x, 110, 85, 20)})
    c += [
        {"type": "label", "ctrlname": "lab_MouseAdv_DpiValText", "pos": rect(20, 148, 120, 28)},
        {"type": "slider", "ctrlname": "btn_MouseAdv_DpiSlider", "thumbimage": "", "pos": rect(150, 148, 340, 28)},
        {"type": "label", "ctrlname": "lab_MouseAdv_DpiSliderValue", "pos": rect(500, 148, 75, 28)},
        {"type": "label", "ctrlname": "lab_MouseAdv_RateText", "pos": rect(20, 192, 120, 30)},
    ]
    for i in range(4):
        c.append({"type": "option", "ctrlname": f"opt_MouseAdv_Rate{i}", "pos": rect(150 + i * 106, 192, 98, 30)})
    c += [
        {"type": "label", "ctrlname": "lab_MouseAdv_FireText", "pos": rect(20, 238, 120, 28)},
        {"type": "slider", "ctrlname": "btn_MouseAdv_FireCtrl", "thumbimage": "", "pos": rect(150, 238, 340, 28)},
        {"type": "label", "ctrlname": "lab_MouseAdv_FireValue", "pos": rect(500, 238, 75, 28)},
        {"type": "button", "ctrlname": "btn_MouseAdv_Sysproperties", "pos": rect(20, 284, 260, 32)},
    ]
    return c


def light_controls():
    c = [
        {"type": "label", "ctrlname": "label_MouseLed_ModeText", "pos": rect(20, 14, 110, 32)},
        {"type": "button", "ctrlname": "btn_MouseLed_LedMode", "pos": rect(140, 14, 260, 32)},
        {"type": "label", "ctrlname": "label_MouseLed_ColText", "pos": rect(20, 60, 110, 30)},
    ]
    for i in range(7):
        c.append({"type": "button", "ctrlname": f"btn_MouseLed_ColVal{i}", "pos": rect(140 + i * 62, 60, 50, 30)})
    for i in range(7):
        c.append({"type": "option", "ctrlname": f"chk_MouseLed_ColEn{i}", "pos": rect(140 + i * 62, 96, 50, 22)})
    c += [
        {"type": "label", "ctrlname": "label_MouseLed_BrightText", "pos": rect(20, 132, 110, 28)},
        {"type": "slider", "ctrlname": "slider_MouseLed_BrightVal", "thumbimage": "", "pos": rect(140, 132, 370, 28)},
        {"type": "label", "ctrlname": "label_MouseLed_BrightValText", "pos": rect(520, 132, 52, 28)},
        {"type": "label", "ctrlname": "label_MouseLed_SpeedText", "pos": rect(20, 170, 110, 28)},
        {"type": "slider", "ctrlname": "slider_MouseLed_SpeedVal", "thumbimage": "", "pos": rect(140, 170, 370, 28)},
        {"type": "label", "ctrlname": "label_MouseLed_SpeedValText", "pos": rect(520, 170, 52, 28)},
        {"type": "label", "ctrlname": "label_MouseLed_SymmeText", "pos": rect(20, 208, 110, 28)},
        {"type": "option", "ctrlname": "Chk_MouseLed_SymnetryVal", "pos": rect(134, 208, 306, 28)},
        {"type": "label", "ctrlname": "label_MouseLed_DirtectText", "pos": rect(20, 250, 110, 30)},
    ]
    for i, name in enumerate(["BackwardVal", "PositiveVal", "TwowayVal", "CoverVal"]):
        c.append({"type": "option", "ctrlname": f"opt_MouseLed_{name}", "pos": rect(140 + i * 108, 250, 100, 30)})
    return c


def main_controls():
    return [
        {"type": "label", "ctrlname": "Mouse_Key", "pos": rect(0, 0, 330, 373)},
        {"type": "option", "ctrlname": "opt_Mouse_TabAdv", "pos": rect(342, 0, 180, 32)},
        {"type": "option", "ctrlname": "opt_Mouse_TabLight", "pos": rect(528, 0, 180, 32)},
        {"type": "label", "ctrlname": "Mouse_Adv", "pos": rect(342, 42, 600, 331)},
        {"type": "label", "ctrlname": "Mouse_Light", "pos": rect(342, 42, 600, 331)},
        {"type": "button", "ctrlname": "btn_Mouse_SelProfile", "pos": rect(0, 389, 220, 34)},
        {"type": "button", "ctrlname": "btn_Mouse_TempButn", "pos": rect(532, 389, 160, 34)},
        {"type": "button", "ctrlname": "btn_Mouse_More", "pos": rect(702, 389, 110, 34)},
        {"type": "button", "ctrlname": "btn_Mouse_Apply", "pos": rect(822, 389, 120, 34)},
    ]


def dump(path, sheet):
    lines = ["{", '    "Containerinfo": ' + json.dumps(sheet["Containerinfo"], ensure_ascii=False) + ",",
             '    "Controlinfo": [']
    rows = [json.dumps(c, ensure_ascii=False) for c in sheet["Controlinfo"]]
    lines.append(",\n".join("        " + r for r in rows))
    lines += ["    ]", "}", ""]
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text("\n".join(lines), encoding="utf-8")


def main():
    for name, model in MODELS.items():
        folder = MICE / name
        if model is None or not folder.is_dir():
            continue
        (folder / "Skin").mkdir(exist_ok=True)
        (folder / "Skin" / "mouse.svg").write_text(svg(model), encoding="utf-8")
        dump(folder / "Position" / "mousekey.json", key_sheet(name, model))
        dump(folder / "Position" / "mouseadv.json",
             {"Containerinfo": container("Mouse_Adv", 600, 331), "Controlinfo": adv_controls()})
        dump(folder / "Position" / "mouselight.json",
             {"Containerinfo": container("Mouse_Light", 600, 331), "Controlinfo": light_controls()})
        dump(folder / "Position" / "mousemain.json",
             {"Containerinfo": container("Mouse_Main", 942, 423), "Controlinfo": main_controls()})


if __name__ == "__main__":
    main()
