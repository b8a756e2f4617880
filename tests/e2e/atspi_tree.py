#!/usr/bin/python3
"""Prints, as JSON, the accessible tree that AT-SPI shows for the program with the given pid:
each node's role, name, actions, editable text, and for tables their size, column headers and
cell texts (up to a limit of rows). Waits until a node with the wanted name appears."""
import json
import sys
import time

import pyatspi


def node(acc, depth, max_rows):
    out = {"role": acc.getRoleName(), "name": acc.name or "", "children": []}
    try:
        action = acc.queryAction()
        out["actions"] = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        out["actions"] = []
    try:
        text = acc.queryText()
        out["text"] = text.getText(0, text.characterCount)
    except NotImplementedError:
        pass
    try:
        acc.queryEditableText()
        out["editable"] = True
    except NotImplementedError:
        out["editable"] = False
    try:
        table = acc.queryTable()
        rows, cols = table.nRows, table.nColumns
        headers = []
        for c in range(cols):
            h = table.getColumnHeader(c)
            headers.append(h.name if h is not None else table.getColumnDescription(c))
        cells = []
        for r in range(min(rows, max_rows)):
            cells.append([(table.getAccessibleAt(r, c).name or "") for c in range(cols)])
        out["table"] = {"rows": rows, "columns": cols, "headers": headers, "cells": cells}
        return out  # the cells stand for the children of a table
    except NotImplementedError:
        pass
    if depth < 40:
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child is not None:
                out["children"].append(node(child, depth + 1, max_rows))
    return out


def contains(n, name):
    return n["name"] == name or any(contains(c, name) for c in n["children"])


def main():
    pid, wanted = int(sys.argv[1]), sys.argv[2]
    max_rows = int(sys.argv[3]) if len(sys.argv) > 3 else 50
    deadline = time.time() + 30
    last = None
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is None or app.get_process_id() != pid:
                    continue
            except Exception:
                continue
            last = node(app, 0, max_rows)
            if contains(last, wanted):
                print(json.dumps(last, ensure_ascii=False))
                return 0
        time.sleep(0.5)
    print(json.dumps(last or {}, ensure_ascii=False))
    return 1


if __name__ == "__main__":
    sys.exit(main())
