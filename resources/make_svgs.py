#!/usr/bin/env python3
"""Writes the hand-drawn SVG sources of the Quorvane icons into resources/svg/.

The SVG files in resources/svg/ are the sources that make_icons.sh renders.
This script is only the tool that drew them (it does the trigonometry for the
gear, arcs and arrow heads); run it again only if you want to change a drawing
here rather than editing the SVG by hand:

    python3 resources/make_svgs.py      # rewrites resources/svg/*.svg
    resources/make_icons.sh             # renders resources/Icons/*

Output is deterministic (fixed number formatting, no timestamps).
"""

import math
import os
import sys

SLATE = "#2b3a42"
SLATE_DARK = "#1d282e"
TEAL = "#1b998b"
TEAL_DARK = "#147a6f"
CYAN = "#c7fffd"
RED = "#d64545"
GREEN = "#3bb273"
GREEN_DARK = "#2b8a58"
WHITE = "#ffffff"
GREY = "#9aa8af"
GREY_LIGHT = "#dfe6e9"
TILE = "#f4f7f8"

FONT = "DejaVu Sans, sans-serif"


def f(v):
    """Compact, stable number formatting."""
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def pt(cx, cy, r, deg):
    """Point on a circle; angles in screen degrees (0 = right, 90 = down)."""
    a = math.radians(deg)
    return cx + r * math.cos(a), cy + r * math.sin(a)


def svg(w, h, body, vb=None):
    vb = vb or "0 0 %s %s" % (f(w), f(h))
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s" viewBox="%s">\n'
        "%s"
        "</svg>\n" % (f(w), f(h), vb, body)
    )


def arc_path(cx, cy, r, a0, a1):
    """Clockwise (screen) arc from angle a0 to a1 (a1 > a0)."""
    x0, y0 = pt(cx, cy, r, a0)
    x1, y1 = pt(cx, cy, r, a1)
    large = 1 if (a1 - a0) % 360 > 180 else 0
    return "M%s %s A%s %s 0 %d 1 %s %s" % (f(x0), f(y0), f(r), f(r), large, f(x1), f(y1))


def arrow_head(cx, cy, r, a, half_w, ahead_deg):
    """Triangle sitting on a circle at angle a, pointing clockwise."""
    bx1, by1 = pt(cx, cy, r - half_w, a)
    bx2, by2 = pt(cx, cy, r + half_w, a)
    tx, ty = pt(cx, cy, r, a + ahead_deg)
    return "M%s %s L%s %s L%s %s Z" % (f(bx1), f(by1), f(bx2), f(by2), f(tx), f(ty))


# --------------------------------------------------------------------------
# 64x64 button icons
# --------------------------------------------------------------------------

def refresh():
    cx, cy, r = 32, 32, 19
    body = ""
    for a0, a1 in ((200, 318), (20, 138)):
        body += '  <path d="%s" fill="none" stroke="%s" stroke-width="7" stroke-linecap="round"/>\n' % (
            arc_path(cx, cy, r, a0, a1), TEAL)
        body += '  <path d="%s" fill="%s" stroke="%s" stroke-width="2" stroke-linejoin="round"/>\n' % (
            arrow_head(cx, cy, r, a1, 10, 30), TEAL, TEAL)
    return svg(64, 64, body)


def apply_():
    body = (
        '  <path d="M11 34 L26 48 L53 17" fill="none" stroke="%s" stroke-width="11" '
        'stroke-linecap="round" stroke-linejoin="round"/>\n'
        '  <path d="M11 34 L26 48 L53 17" fill="none" stroke="%s" stroke-width="7" '
        'stroke-linecap="round" stroke-linejoin="round"/>\n' % (GREEN_DARK, GREEN)
    )
    return svg(64, 64, body)


def info():
    body = (
        '  <circle cx="32" cy="32" r="29" fill="%s"/>\n'
        '  <circle cx="32" cy="32" r="25.5" fill="none" stroke="%s" stroke-width="2" opacity="0.55"/>\n'
        '  <circle cx="32" cy="18.5" r="5" fill="%s"/>\n'
        '  <path d="M25 27 H35.5 V44 H39 V50 H25 V44 H28.5 V33 H25 Z" fill="%s" stroke="%s" '
        'stroke-width="1" stroke-linejoin="round"/>\n' % (TEAL, CYAN, WHITE, WHITE, WHITE)
    )
    return svg(64, 64, body)


def ip_address():
    # map pin: circle (32,25) r=22 joined to a tip at (32,62)
    cx, cy, r, tip = 32.0, 24.0, 22.0, 62.0
    d = tip - cy
    th = math.acos(r / d)
    lx, ly = cx - r * math.sin(th), cy + r * math.cos(th)
    rx, ry = cx + r * math.sin(th), cy + r * math.cos(th)
    pin = "M%s %s L%s %s A%s %s 0 1 1 %s %s Z" % (f(cx), f(tip), f(lx), f(ly), f(r), f(r), f(rx), f(ry))
    body = (
        '  <path d="%s" fill="%s" stroke="%s" stroke-width="2" stroke-linejoin="round"/>\n'
        '  <circle cx="32" cy="24" r="16" fill="%s"/>\n'
        # letter I
        '  <rect x="20.5" y="15" width="5" height="18" rx="1" fill="%s"/>\n'
        # letter P: stem + bowl
        '  <rect x="29" y="15" width="5" height="18" rx="1" fill="%s"/>\n'
        '  <path d="M31 17.5 H37.5 A4.75 4.75 0 0 1 37.5 27 H31" fill="none" stroke="%s" '
        'stroke-width="5" stroke-linejoin="round"/>\n'
        % (pin, TEAL, TEAL_DARK, WHITE, SLATE, SLATE, SLATE)
    )
    return svg(64, 64, body)


def ping():
    cx, cy = 32, 33
    body = '  <circle cx="%d" cy="%d" r="6.5" fill="%s"/>\n' % (cx, cy, TEAL)
    for r, col in ((15, TEAL), (25.5, SLATE)):
        for a in (0, 180):
            body += '  <path d="%s" fill="none" stroke="%s" stroke-width="5.5" stroke-linecap="round"/>\n' % (
                arc_path(cx, cy, r, a - 42, a + 42), col)
    return svg(64, 64, body)


def reading():
    body = (
        # page with folded corner
        '  <path d="M11 22 H43 L53 32 V60 H11 Z" fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round"/>\n'
        '  <path d="M43 22 V32 H53" fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round"/>\n'
        '  <path d="M18 47 H46 M18 53 H46" stroke="%s" stroke-width="3" stroke-linecap="round" opacity="0.6"/>\n'
        # arrow pointing down into the page, with a white halo
        '  <path d="M27 3 H37 V23 H45 L32 39 L19 23 H27 Z" fill="%s" stroke="%s" stroke-width="6" '
        'stroke-linejoin="round"/>\n'
        '  <path d="M27 3 H37 V23 H45 L32 39 L19 23 H27 Z" fill="%s" stroke="%s" stroke-width="1.5" '
        'stroke-linejoin="round"/>\n'
        % (WHITE, SLATE, GREY_LIGHT, SLATE, SLATE, WHITE, WHITE, TEAL, TEAL_DARK)
    )
    return svg(64, 64, body)


def reset():
    cx, cy, r = 32, 35, 21
    body = (
        '  <path d="%s" fill="none" stroke="%s" stroke-width="7" stroke-linecap="round"/>\n'
        '  <path d="M32 6 V32" stroke="%s" stroke-width="7" stroke-linecap="round"/>\n'
        % (arc_path(cx, cy, r, -90 + 38, 270 - 38), RED, RED)
    )
    return svg(64, 64, body)


def setting():
    cx, cy = 32.0, 32.0
    teeth, r_out, r_in = 8, 29.0, 22.0
    step = 360.0 / teeth
    # teeth narrow slightly towards the tip; the root circle between the
    # teeth is drawn as arcs so the gear stays round
    d = ""
    first = None
    for i in range(teeth):
        a = i * step - 90
        p1 = pt(cx, cy, r_in, a - step * 0.30)
        p2 = pt(cx, cy, r_out, a - step * 0.19)
        p3 = pt(cx, cy, r_out, a + step * 0.19)
        p4 = pt(cx, cy, r_in, a + step * 0.30)
        if i == 0:
            first = p1
            d += "M%s %s" % (f(p1[0]), f(p1[1]))
        else:
            d += " A%s %s 0 0 1 %s %s" % (f(r_in), f(r_in), f(p1[0]), f(p1[1]))
        d += " L%s %s A%s %s 0 0 1 %s %s L%s %s" % (f(p2[0]), f(p2[1]), f(r_out), f(r_out),
                                                   f(p3[0]), f(p3[1]), f(p4[0]), f(p4[1]))
    d += " A%s %s 0 0 1 %s %s Z" % (f(r_in), f(r_in), f(first[0]), f(first[1]))
    # hole (counter-wound circle so the fill-rule leaves it empty)
    hole = " M%s %s A9 9 0 1 0 %s %s A9 9 0 1 0 %s %s Z" % (
        f(cx + 9), f(cy), f(cx - 9), f(cy), f(cx + 9), f(cy))
    body = (
        '  <path d="%s%s" fill="%s" fill-rule="evenodd" stroke="%s" stroke-width="1.5" '
        'stroke-linejoin="round"/>\n'
        '  <circle cx="32" cy="32" r="15" fill="none" stroke="%s" stroke-width="2.5" opacity="0.9"/>\n'
        % (d, hole, SLATE, SLATE_DARK, TEAL)
    )
    return svg(64, 64, body)


# --------------------------------------------------------------------------
# toggle switches (80x80, shown as a 40x40 check-box indicator)
# --------------------------------------------------------------------------

def toggle(on):
    track = GREEN if on else GREY
    edge = GREEN_DARK if on else "#7d8c93"
    kx = 57 if on else 23
    body = (
        '  <rect x="3" y="21" width="74" height="38" rx="19" fill="%s" stroke="%s" stroke-width="2"/>\n'
        % (track, edge)
    )
    if on:
        # "I" mark in the free left half
        body += '  <rect x="19.5" y="31" width="5" height="18" rx="2.5" fill="%s"/>\n' % WHITE
    else:
        # red "O" mark in the free right half
        body += '  <circle cx="57" cy="40" r="7.5" fill="none" stroke="%s" stroke-width="4.5"/>\n' % RED
    body += (
        '  <circle cx="%d" cy="41.5" r="16" fill="%s" opacity="0.25"/>\n'
        '  <circle cx="%d" cy="40" r="15.5" fill="%s" stroke="%s" stroke-width="1.5"/>\n'
        % (kx, SLATE, kx, WHITE, edge)
    )
    return svg(80, 80, body)


# --------------------------------------------------------------------------
# connection buttons (70x80, used as the border image of a 35x40 button)
# --------------------------------------------------------------------------

def tile(connected):
    fill = "#e3f6ec" if connected else TILE
    edge = GREEN if connected else "#b7c3c8"
    return '  <rect x="1.5" y="1.5" width="67" height="77" rx="10" fill="%s" stroke="%s" stroke-width="3"/>\n' % (
        fill, edge)


def socket(connected, kind):
    """Port at the top of the button, with link LEDs."""
    led = GREEN if connected else RED
    s = '  <rect x="10" y="7" width="50" height="17" rx="3" fill="%s"/>\n' % SLATE
    if kind == "usb":
        s += '  <rect x="20" y="12" width="30" height="9" rx="1" fill="%s"/>\n' % SLATE_DARK
    else:
        s += '  <path d="M22 21 V13 H48 V21 Z" fill="%s"/>\n' % SLATE_DARK
    s += '  <circle cx="15" cy="12.5" r="2.8" fill="%s"/>\n' % led
    s += '  <circle cx="55" cy="12.5" r="2.8" fill="%s"/>\n' % (led if connected else "#5c6b72")
    return s


def cable(y_top):
    return (
        '  <rect x="30" y="%s" width="10" height="%s" fill="%s"/>\n' % (f(y_top), f(77 - y_top), SLATE)
    )


def rj45_plug(y, connected):
    """RJ45 plug with its top edge at y (contacts on top)."""
    body_fill = GREEN if connected else GREY_LIGHT
    edge = GREEN_DARK if connected else SLATE
    s = ""
    s += cable(y + 34)
    # strain relief boot
    s += '  <path d="M22 %s H48 L44 %s H26 Z" fill="%s" stroke="%s" stroke-width="2" stroke-linejoin="round"/>\n' % (
        f(y + 25), f(y + 37), SLATE, SLATE)
    # plug body
    s += '  <rect x="17" y="%s" width="36" height="27" rx="3" fill="%s" stroke="%s" stroke-width="2.5"/>\n' % (
        f(y), body_fill, edge)
    # 8 gold-ish contacts
    for i in range(8):
        x = 21.5 + i * 3.86
        s += '  <rect x="%s" y="%s" width="2" height="7" fill="%s"/>\n' % (
            f(x), f(y + 2.5), "#e0b341" if not connected else WHITE)
    # latch
    s += '  <rect x="27" y="%s" width="16" height="12" rx="1.5" fill="%s" opacity="0.85"/>\n' % (
        f(y + 12), edge)
    return s


def usb_plug(y, connected):
    """USB-A plug with its top edge (metal shell) at y."""
    body_fill = GREEN if connected else SLATE
    s = ""
    s += cable(y + 40)
    # metal shell with its two square holes
    s += '  <rect x="21" y="%s" width="28" height="17" rx="1.5" fill="%s" stroke="#7d8c93" stroke-width="2"/>\n' % (
        f(y), "#cfd8dc")
    s += '  <rect x="26" y="%s" width="6" height="5" fill="%s"/>\n' % (f(y + 4), SLATE)
    s += '  <rect x="38" y="%s" width="6" height="5" fill="%s"/>\n' % (f(y + 4), SLATE)
    # plastic body
    s += '  <rect x="16" y="%s" width="38" height="27" rx="5" fill="%s" stroke="%s" stroke-width="2"/>\n' % (
        f(y + 16), body_fill, GREEN_DARK if connected else SLATE_DARK)
    # boot
    s += '  <path d="M23 %s H47 L43 %s H27 Z" fill="%s"/>\n' % (f(y + 42), f(y + 49), SLATE)
    # USB trident on the body
    cx, ty = 35.0, y + 20.0
    col = WHITE if connected else CYAN
    s += (
        '  <g fill="none" stroke="%s" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round">\n'
        '    <path d="M%s %s V%s"/>\n'
        '    <path d="M%s %s L%s %s V%s"/>\n'
        '    <path d="M%s %s L%s %s V%s"/>\n'
        '  </g>\n'
        % (col,
           f(cx), f(ty + 3), f(ty + 20),
           f(cx), f(ty + 16), f(cx - 7), f(ty + 11), f(ty + 8),
           f(cx), f(ty + 14), f(cx + 7), f(ty + 9), f(ty + 7))
    )
    s += '  <path d="M%s %s L%s %s L%s %s Z" fill="%s"/>\n' % (
        f(cx - 3), f(ty + 4.5), f(cx + 3), f(ty + 4.5), f(cx), f(ty), col)
    s += '  <circle cx="%s" cy="%s" r="2.2" fill="%s"/>\n' % (f(cx - 7), f(ty + 7.5), col)
    s += '  <rect x="%s" y="%s" width="4" height="4" fill="%s"/>\n' % (f(cx + 5), f(ty + 4.5), col)
    s += '  <circle cx="%s" cy="%s" r="2.6" fill="%s"/>\n' % (f(cx), f(ty + 20.5), col)
    return s


def unplugged_mark():
    """Small red cross in the gap between port and plug."""
    return (
        '  <path d="M30 25.5 L40 35.5 M40 25.5 L30 35.5" stroke="%s" stroke-width="3.5" '
        'stroke-linecap="round"/>\n' % RED
    )


def ethernet(connected):
    s = tile(connected)
    if connected:
        s += rj45_plug(20, True)
        s += socket(True, "rj45")
    else:
        s += socket(False, "rj45")
        s += rj45_plug(38, False)
        s += unplugged_mark()
    return svg(70, 80, s)


def usb(connected):
    s = tile(connected)
    if connected:
        s += usb_plug(15, True)
        s += socket(True, "usb")
    else:
        s += socket(False, "usb")
        s += usb_plug(38, False)
        s += unplugged_mark()
    return svg(70, 80, s)


# --------------------------------------------------------------------------
# application icon and splash picture
# --------------------------------------------------------------------------

def db9(cx, cy, w):
    """D-sub 9 serial connector face, centred on (cx, cy), width w."""
    h = w * 0.42
    inset = w * 0.1
    x0, x1 = cx - w / 2, cx + w / 2
    y0, y1 = cy - h / 2, cy + h / 2
    rr = h * 0.22
    shell = (
        "M%s %s H%s Q%s %s %s %s L%s %s Q%s %s %s %s H%s Q%s %s %s %s L%s %s Q%s %s %s %s Z" % (
            f(x0 + rr), f(y0), f(x1 - rr),
            f(x1), f(y0), f(x1 - rr * 0.35), f(y0 + rr),
            f(x1 - inset + rr * 0.1), f(y1 - rr),
            f(x1 - inset), f(y1), f(x1 - inset - rr), f(y1),
            f(x0 + inset + rr),
            f(x0 + inset), f(y1), f(x0 + inset - rr * 0.1), f(y1 - rr),
            f(x0 + rr * 0.35), f(y0 + rr),
            f(x0), f(y0), f(x0 + rr), f(y0)))
    s = '  <path d="%s" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>\n' % (
        shell, CYAN, SLATE_DARK, f(w * 0.04))
    pr = w * 0.045
    for i in range(5):
        x = cx - w * 0.32 + i * w * 0.16
        s += '  <circle cx="%s" cy="%s" r="%s" fill="%s"/>\n' % (f(x), f(cy - h * 0.2), f(pr), SLATE)
    for i in range(4):
        x = cx - w * 0.24 + i * w * 0.16
        s += '  <circle cx="%s" cy="%s" r="%s" fill="%s"/>\n' % (f(x), f(cy + h * 0.2), f(pr), SLATE)
    return s


def gateway_art():
    """The gateway drawing on a 128x128 canvas (background not included)."""
    s = ""
    # radio waves from the antenna tip
    ax, ay = 97.0, 18.0
    for r, op in ((10, "1"), (18, "0.7")):
        for a in (0, 180):
            s += '  <path d="%s" fill="none" stroke="%s" stroke-width="4" stroke-linecap="round" opacity="%s"/>\n' % (
                arc_path(ax, ay, r, a - 40, a + 40), CYAN, op)
    # antenna
    s += '  <rect x="%s" y="%s" width="6" height="%s" rx="3" fill="%s"/>\n' % (f(ax - 3), f(ay), f(52 - ay), WHITE)
    s += '  <circle cx="%s" cy="%s" r="5.5" fill="%s"/>\n' % (f(ax), f(ay), WHITE)
    s += '  <rect x="%s" y="45" width="14" height="8" rx="2" fill="%s"/>\n' % (f(ax - 7), SLATE_DARK)
    # housing: top face, side face and front face
    s += '  <path d="M9 62 L18 52 H119 L110 62 Z" fill="%s"/>\n' % "#4fc3b5"
    s += '  <path d="M110 62 L119 52 V104 L110 114 Z" fill="%s"/>\n' % TEAL_DARK
    s += '  <rect x="9" y="62" width="101" height="52" rx="3" fill="%s"/>\n' % TEAL
    # two serial ports (RS485 and RS232)
    s += db9(36, 94, 38)
    s += db9(83, 94, 38)
    # status LEDs and a name plate
    for i, col in enumerate((GREEN, GREEN, RED)):
        s += '  <circle cx="%s" cy="72" r="3" fill="%s"/>\n' % (f(20 + i * 10), col)
    s += '  <rect x="66" y="70" width="34" height="4.5" rx="2.25" fill="%s" opacity="0.8"/>\n' % CYAN
    return s


def app_icon():
    body = '  <rect x="0" y="0" width="128" height="128" fill="%s"/>\n' % SLATE
    body += '  <circle cx="64" cy="64" r="60" fill="%s" opacity="0.5"/>\n' % SLATE_DARK
    body += gateway_art()
    return svg(128, 128, body)


def splash():
    # 322x322, transparent; the art is a scaled copy of the 128 icon in a rounded tile
    size = 230.0
    x0 = (322 - size) / 2
    y0 = 8.0
    k = size / 128.0
    body = '  <defs>\n    <clipPath id="tile"><rect x="0" y="0" width="128" height="128" rx="22"/></clipPath>\n  </defs>\n'
    body += '  <rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" opacity="0.18"/>\n' % (
        f(x0 + 3), f(y0 + 6), f(size), f(size), f(22 * k), SLATE)
    body += '  <g transform="translate(%s %s) scale(%s)">\n' % (f(x0), f(y0), f(k))
    body += '  <g clip-path="url(#tile)">\n'
    body += '  <rect x="0" y="0" width="128" height="128" fill="%s"/>\n' % SLATE
    body += '  <circle cx="64" cy="64" r="60" fill="%s" opacity="0.5"/>\n' % SLATE_DARK
    body += gateway_art()
    body += '  </g>\n  </g>\n'
    body += (
        '  <text x="161" y="294" text-anchor="middle" font-family="%s" font-weight="bold" '
        'font-size="50" fill="%s" letter-spacing="1">Quorvane</text>\n' % (FONT, SLATE)
    )
    body += '  <rect x="101" y="306" width="120" height="5" rx="2.5" fill="%s"/>\n' % TEAL
    return svg(322, 322, body)


ICONS = {
    "Refresh-icon": refresh,
    "apply": apply_,
    "ethernet": lambda: ethernet(False),
    "ethernet_disconnect": lambda: ethernet(True),
    "info": info,
    "ip-address": ip_address,
    "kolvex icon": app_icon,
    "kolvexloging-": splash,
    "off-button": lambda: toggle(False),
    "on-button": lambda: toggle(True),
    "ping": ping,
    "reading": reading,
    "reset": reset,
    "setting": setting,
    "usb_connect": lambda: usb(False),
    "usb_disconnect": lambda: usb(True),
}


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "svg")
    os.makedirs(out, exist_ok=True)
    for name, fn in ICONS.items():
        path = os.path.join(out, name + ".svg")
        with open(path, "w", encoding="utf-8", newline="\n") as fh:
            fh.write(fn())
    print("wrote %d SVG files to %s" % (len(ICONS), out), file=sys.stderr)


if __name__ == "__main__":
    main()
