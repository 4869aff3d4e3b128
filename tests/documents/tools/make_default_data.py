#!/usr/bin/env python3
"""Writes the shipped default profiles and the lighting mode list into data/DefaultData/.

The generated files are committed; run this again after changing a table here:
    python3 tests/documents/tools/make_default_data.py
"""
import json
import os

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
OUT = os.path.join(ROOT, "data", "DefaultData")

NONE = (0x20, 0x00, 0x00)  # a position without a key


def keyboard_codes():
    codes = [NONE] * 170
    def key(i, p1, p2, t=0x20):
        codes[i] = (t, p1, p2)
    key(0, 0, 0x29)
    for i in range(12):
        key(1 + i, 0, 0x3A + i)
    key(13, 0, 0x46); key(14, 0, 0x47); key(15, 0, 0x48)
    key(16, 0x1B, 0, 0xA0); key(17, 0x24, 0, 0xA0)
    key(21, 0, 0x35)
    for i in range(9):
        key(22 + i, 0, 0x1E + i)
    singles = {31: 0x27, 32: 0x2D, 33: 0x2E, 34: 0x2A, 35: 0x49, 36: 0x4A, 37: 0x4B, 38: 0x53,
               39: 0x54, 40: 0x55, 41: 0x56, 42: 0x2B, 43: 0x14, 44: 0x1A, 45: 0x08, 46: 0x15,
               47: 0x17, 48: 0x1C, 49: 0x18, 50: 0x0C, 51: 0x12, 52: 0x13, 53: 0x2F, 54: 0x30,
               55: 0x31, 56: 0x4C, 57: 0x4D, 58: 0x4E, 62: 0x32, 63: 0x39, 64: 0x04, 65: 0x16,
               66: 0x07, 67: 0x09, 68: 0x0A, 69: 0x0B, 70: 0x0D, 71: 0x0E, 72: 0x0F, 73: 0x33,
               74: 0x34, 75: 0x28, 79: 0x8A, 80: 0x8B, 81: 0x90, 82: 0x91, 83: 0x88, 85: 0x1D,
               86: 0x1B, 87: 0x06, 88: 0x19, 89: 0x05, 90: 0x11, 91: 0x10, 92: 0x36, 93: 0x37,
               94: 0x38, 96: 0x52, 100: 0x87, 101: 0x89, 102: 0x64, 103: 0x85, 108: 0x2C,
               111: 0x65, 113: 0x50, 114: 0x51, 115: 0x4F, 116: 0x62, 117: 0x63, 118: 0x58,
               119: 0x57}
    for i, usage in singles.items():
        key(i, 0, usage)
    for i in range(3):
        key(59 + i, 0, 0x5F + i)
        key(76 + i, 0, 0x5C + i)
        key(97 + i, 0, 0x59 + i)
    modifiers = {84: 0x02, 95: 0x20, 105: 0x01, 106: 0x08, 107: 0x04, 109: 0x40, 112: 0x10,
                 125: 0x80}
    for i, bit in modifiers.items():
        key(i, bit, 0)
    key(110, 0x01, 0, 0xA0)
    for i in range(5):
        key(120 + i, 0xA2, 1 + i, 0xD0)
    return codes


MOUSE_CODES = [(0x10, 0x01, 0), (0x10, 0x02, 0), (0x10, 0x04, 0), (0x10, 0x10, 0),
               (0x10, 0x08, 0), (0x13, 0x01, 0), (0x13, 0x02, 0), (0x13, 0x03, 0),
               (0xA0, 0x1B, 0), (0x16, 0x90, 0x01), (0x14, 0x78, 0x02)]

EQ_PRESETS = [
    [7, 11, 2, -3, -1, 4, 9, 12, 9, 5],
    [7, 11, 6, -3, -11, -1, 6, 13, 6, 13],
    [10, 4, 0, -3, -4, -3, -2, -1, 0, 0],
    [2, 1, -2, -3, -5, -7, 0, 4, 9, 8],
    [0, 0, 0, 0, 0, 0, 0, 0, 0, 0],
    [7, 14, -13, -6, -1, 8, 13, 7, 2, 6],
    [14, 10, 4, 0, -4, -3, -1, 1, 2, 3],
    [2, 1, -2, -3, -5, -1, 7, 11, 15, 13],
    [8, 2, -4, -8, 1, 3, 8, 11, 14, 16],
    [-3, 4, 10, 0, -11, 3, 9, 13, 6, 0],
    [18, 14, 8, 2, -3, -6, -1, 2, 5, 6],
    [2, 1, -2, -4, -8, 4, 12, 16, 18, 15],
]


def pack(code):
    return code[0] * 65536 + code[1] * 256 + code[2]


def key_list(codes):
    return [{"Assignment": pack(c), "DefaultAssignment": pack(c)} for c in codes]


def light_info(select, multi=1, rgb=(255, 0, 0)):
    return {"SelectItem": select, "Light": 4, "Speed": 2, "Fx": 0, "MultiColor": multi,
            "Red": rgb[0], "Green": rgb[1], "Blue": rgb[2], "ZZCCLedMode": 0,
            "CustomGroup": 0, "OldLedmode": select}


def document(element):
    return {"Device": [element], "profilename": "Default", "profileUUID": ""}


def keyboard():
    white = {"Red": 255, "Green": 255, "Blue": 255, "Alpha": 255, "IsBright": 1}
    return document({
        "LightInfo": light_info(1),
        "AudioLightInfo": {"AudioMode": 0, "BkColorR": 0, "BkColorG": 0, "BkColorB": 0,
                           "FgColorR": 255, "FgColorG": 0, "FgColorB": 0, "7ColorFlags": 1,
                           "ColorTypeFlags": 0},
        "LightList": [None] * 170,
        "CustomLightMode": {"LightColorInfo": [[white] * 170],
                            "CustomLightModeGroupIndex": 0},
        "KeyList": key_list(keyboard_codes()),
        "SystemStages": {"Repeat": 20, "RepeatDelay": 1, "Key6Flag": 0, "PollingRate": 0,
                         "WFlag": 0, "WinFlag": 0},
    })


def mouse():
    colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (255, 0, 255)]
    steps = [8, 16, 32, 64, 128]
    return document({
        "LightInfo": light_info(0),
        "LightList": [None] * 15,
        "KeyList": key_list(MOUSE_CODES),
        "DPIStages": {"StageActive": 1, "StageDPIs": [
            {"StageActive": 1, "StageXY": 0, "StageDPIX": s, "StageDPIY": s,
             "StageColorR": c[0], "StageColorG": c[1], "StageColorB": c[2]}
            for s, c in zip(steps, colours)]},
        "SystemStages": {"DoubleClickTime": 500, "MouseSpeed": 10, "PointerPrecision": 1,
                         "ScorllPage": 0, "WheelScorlllinse": 3},
        "ReportStages": {"StageActive": 3},
        "CorrectInfo": [
            {"CorrectPixThresh": 0, "CorrectMinSq": 0, "CorrectSelect": 1,
             "CorrectName": "correct_default"},
            {"CorrectPixThresh": 12, "CorrectMinSq": 20, "CorrectSelect": 0,
             "CorrectName": "correct_cloth"},
            {"CorrectPixThresh": 8, "CorrectMinSq": 14, "CorrectSelect": 0,
             "CorrectName": "correct_hard"},
        ],
    })


def mouse_pad():
    return document({"LightInfo": light_info(0), "LightList": [None] * 15})


def headset():
    bands = lambda values: [{"value": v} for v in values]
    return document({
        "LightInfo": light_info(0),
        "LightList": [None] * 13,
        "SystemSetStages": {"MagicEnable": 0, "MagicType": 1, "EqType": 5,
                            "CustomEqSeletIndex": 0, "MicInSelect": 1, "MicInValue": 80,
                            "MicMoniterSelect": 0, "MicMoniterValue": 50},
        # Element 0 is never used: type 0 reads as type 1.
        "EQHzValueInfo": [None] + [bands(p) for p in EQ_PRESETS],
        "CustomEQNameInfo": [],
        "CustomEQHzValueInfo": [],
    })


# Lighting mode lists: (language key, visible). The device mode code ("value") of every
# mode is its position in the list.
KEYBOARD_MODES = {
    1: "light_mode_wave", 2: "light_mode_rainbow_wave", 3: "light_mode_diagonal_breath",
    4: "light_mode_key_wave", 5: "light_mode_static", 6: "light_mode_breathing",
    7: "light_mode_gradient", 8: "light_mode_ripple", 9: "light_mode_reactive",
    10: "light_mode_ripple_colour", 13: "light_mode_sweep", 14: "light_mode_bands",
    15: "light_mode_twinkle_fade", 16: "light_mode_reactive_colour", 17: "light_mode_stars",
    18: "light_mode_rain", 19: "light_mode_row_wave", 20: "light_mode_twinkle",
    21: "light_mode_custom", 22: "light_mode_band_ripple", 23: "light_mode_flash",
    24: "light_mode_wipe", 26: "light_mode_breathing_four", 27: "light_mode_flash_four",
    28: "light_mode_off", 29: "light_mode_music", 40: "light_mode_rainbow",
    41: "light_mode_colour_cycle", 42: "light_mode_colour_cycle_two",
    43: "light_mode_colour_cycle_three", 45: "light_mode_zone",
}
KEYBOARD_HIDDEN = {0: "light_mode_none", 30: "light_mode_host"}

MOUSE_MODES = ["light_mode_wave", "light_mode_rainbow", "light_mode_breathing",
               "light_mode_static", "light_mode_flash", "light_mode_colour_wave",
               "light_mode_reactive", "light_mode_breathing_four", "light_mode_flash_four",
               "light_mode_off"]
PAD_MODES = ["light_mode_wave", "light_mode_rainbow", "light_mode_breathing",
             "light_mode_static", "light_mode_flash", None, "light_mode_bands",
             "light_mode_dual_colour", "light_mode_off"]
HEADSET_MODES = ["light_mode_wave", "light_mode_rainbow", "light_mode_breathing",
                 "light_mode_static", "light_mode_flash", None, "light_mode_streamer",
                 "light_mode_mirror", "light_mode_off"]


def keyboard_modes():
    modes = []
    for i in range(46):
        if i in KEYBOARD_MODES:
            modes.append((KEYBOARD_MODES[i], True))
        elif i in KEYBOARD_HIDDEN:
            modes.append((KEYBOARD_HIDDEN[i], False))
        else:
            modes.append(("light_mode_reserved_%d" % i, False))
    return modes


def short_list(names):
    return [(n, True) if n else ("light_mode_sequence", False) for n in names]


def mode_array(modes):
    items = ['{ "LightName" : "%s", "value" : %d, "visible" : %s }'
             % (name, i, "true" if visible else "false") for i, (name, visible) in
             enumerate(modes)]
    return "[\n         " + ",\n         ".join(items) + "\n      ]"


DEFAULT_LIGHT_HEADER = """\
// Lighting modes of each device family, by light-config index:
//   0 keyboard, 1 mouse, 2 mouse pad, 3 headset.
//
// "DefaultLightName"[index] lists the modes of the family in mode-list order; a page's
// "SelectItem" is a position in this list. Each mode has:
//   "LightName"  the language key of its name,
//   "visible"    false for modes that keep their position but are not offered,
//   "value"      the mode code written to the device's settings block. Every code
//                equals the mode's position in the list (keyboard codes 29 and 30, the
//                host-driven modes, are written to the keyboard as 0xFE).
// "AreaLightName"[index] lists the zone modes ("ZZCCLedMode") of the family; only the
// keyboard has zones.
//
// Generated by tests/documents/tools/make_default_data.py.
"""


def default_light():
    families = [("keyboard", keyboard_modes()), ("mouse", short_list(MOUSE_MODES)),
                ("mouse pad", short_list(PAD_MODES)), ("headset", short_list(HEADSET_MODES))]
    zones = ["light_zone_all", "light_zone_wasd", "light_zone_arrows", "light_zone_function"]
    text = DEFAULT_LIGHT_HEADER + "{\n"
    text += '   "AreaLightName" : [\n'
    text += '      // 0 keyboard\n      [\n'
    text += ",\n".join('         { "LightName" : "%s" }' % z for z in zones) + "\n      ],\n"
    text += "      // 1 mouse, 2 mouse pad, 3 headset\n      [], [], []\n   ],\n"
    text += '   "DefaultLightName" : [\n'
    parts = []
    for index, (name, modes) in enumerate(families):
        parts.append("      // %d %s\n      %s" % (index, name, mode_array(modes)))
    text += ",\n".join(parts) + "\n   ]\n}\n"
    return text


def write_json(name, value):
    with open(os.path.join(OUT, name), "w", encoding="utf-8", newline="\n") as f:
        f.write(json.dumps(value, indent=3, sort_keys=True, ensure_ascii=False))
        f.write("\n")


def main():
    os.makedirs(OUT, exist_ok=True)
    write_json("QX418W_Keyboard.Json", keyboard())
    write_json("QX418W_Mouse.Json", mouse())
    write_json("QX418W_MousePad.Json", mouse_pad())
    write_json("QX418W_Headset.Json", headset())
    with open(os.path.join(OUT, "default_light.json"), "w", encoding="utf-8", newline="\n") as f:
        f.write(default_light())


if __name__ == "__main__":
    main()
