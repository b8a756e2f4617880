#!/usr/bin/python3
"""Shows the program with the given pid as AT-SPI sees it.

  atspi_tree.py PID NAME [MAX_ROWS]   prints, as JSON, the accessible tree once a node named NAME
                                      appears: each node's role, name, screen extents, actions,
                                      text, and for tables their size, column headers and the
                                      cell texts of the first MAX_ROWS rows.
  atspi_tree.py PID NAME --do ACTION  runs the named action (e.g. "Press") of the first node
                                      named NAME.
Exit status 0 on success, 1 when the node never appeared or has no such action."""
import json
import sys
import time

import pyatspi


def node(acc, depth, max_rows):
    out = {"role": acc.getRoleName(), "name": acc.name or "", "children": []}
    try:
        x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        out["extents"] = [x, y, w, h]
    except NotImplementedError:
        pass
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


def find(acc, name, depth=0):
    if (acc.name or "") == name:
        return acc
    if depth > 40:
        return None
    try:
        acc.queryTable()
        return None
    except NotImplementedError:
        pass
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            hit = find(child, name, depth + 1)
            if hit is not None:
                return hit
    return None


def app_of(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def do_action(pid, name, action_name):
    deadline = time.time() + 30
    while time.time() < deadline:
        app = app_of(pid)
        target = find(app, name) if app is not None else None
        if target is not None:
            action = target.queryAction()
            for i in range(action.nActions):
                if action.getName(i) == action_name:
                    action.doAction(i)
                    return 0
            print("no action %s on %s" % (action_name, name), file=sys.stderr)
            return 1
        time.sleep(0.5)
    print("no node named %s" % name, file=sys.stderr)
    return 1


def main():
    pid, wanted = int(sys.argv[1]), sys.argv[2]
    if len(sys.argv) > 4 and sys.argv[3] == "--do":
        return do_action(pid, wanted, sys.argv[4])
    max_rows = int(sys.argv[3]) if len(sys.argv) > 3 else 50
    deadline = time.time() + 30
    last = None
    while time.time() < deadline:
        app = app_of(pid)
        if app is not None:
            last = node(app, 0, max_rows)
            if contains(last, wanted):
                print(json.dumps(last, ensure_ascii=False))
                return 0
        time.sleep(0.5)
    print(json.dumps(last or {}, ensure_ascii=False))
    return 1


if __name__ == "__main__":
    sys.exit(main())
