# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Prints what a screen reader finds in the running program's page view, through AT-SPI.

Waits up to the given seconds for the program to show a page with headings and images, then
prints the accessible tree of its page (role: name per line) and exits 0, or 1 if it never
did. Usage: page-tree.py SECONDS
"""
import sys
import time

import pyatspi


def dump(node, depth, out):
    try:
        out.append("  " * depth + f"{node.getRoleName()}: {node.name or ''}")
        count = node.childCount
    except Exception:  # the page may be replaced while it is read
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            dump(child, depth + 1, out)


def find_page(node):
    try:
        if node.getRoleName() == "document web":
            return node
        for i in range(node.childCount):
            found = find_page(node.getChildAtIndex(i))
            if found is not None:
                return found
    except Exception:
        pass
    return None


def main():
    deadline = time.time() + float(sys.argv[1])
    last = "the program never appeared on the accessibility bus"
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is None or "strumlet" not in (app.name or "").lower():
                continue
            page = find_page(app)
            if page is None:
                last = "the program shows no page"
                continue
            out = []
            dump(page, 0, out)
            last = "\n".join(out)
            if "heading: " in last and "image: " in last:
                print(last)
                return 0
        time.sleep(2)
    print(last)
    return 1


if __name__ == "__main__":
    sys.exit(main())
