#!/usr/bin/env python3
"""The layer check on small source trees: each wrong include or link fails it."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

CHECKER = sys.argv.pop(1)

# A sound tree: nodes stands on platform, inventory on nodes, its ui on both.
SOUND = {
    "links": "platform \nnodes platform\ninventory nodes\ninventory/ui inventory nodes\n",
    "platform/Log.h": "#pragma once\n#include <string>\n",
    "nodes/NodeTable.h": '#include "platform/Log.h"\n',
    "inventory/Scan.cpp": '#include "inventory/Scan.h"\n#include "nodes/NodeTable.h"\n',
    "inventory/ui/Grids.cpp": '#include "inventory/Scan.h"\n#include "nodes/NodeTable.h"\n',
}


def run(tree):
    with tempfile.TemporaryDirectory() as folder:
        root = pathlib.Path(folder)
        for name, text in tree.items():
            path = root / ("links.txt" if name == "links" else pathlib.Path("src", name))
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        done = subprocess.run([sys.executable, CHECKER, str(root / "src"), str(root / "links.txt")],
                              capture_output=True, text=True)
        return done.returncode, done.stdout


class LayerCheck(unittest.TestCase):
    def test_sound_tree_passes(self):
        self.assertEqual(run(SOUND), (0, ""))

    def test_each_fault_fails_and_is_named(self):
        cases = [
            ("include from a lower layer up", {"nodes/Up.h": '#include "inventory/Scan.h"\n'}, "a higher layer"),
            ("include of a library not linked", {"inventory/Far.h": '#include "platform/Log.h"\n'},
             "inventory does not link"),
            ("core library including its own ui", {"inventory/Back.h": '#include "inventory/ui/Grids.h"\n'},
             "user interface above its own library"),
            ("include within one layer", {"links": SOUND["links"] + "scene platform\n",
                                          "scene/Mesh.h": '#include "nodes/NodeTable.h"\n'}, "of its own layer"),
            ("link never included", {"links": SOUND["links"].replace("inventory nodes\n", "inventory nodes platform\n")},
             "links platform without including it"),
            ("folder outside the layer order", {"links": SOUND["links"] + "extras platform\n"}, "not in the layer order"),
        ]
        for name, change, message in cases:
            with self.subTest(name):
                status, out = run({**SOUND, **change})
                self.assertEqual(status, 1, out)
                self.assertIn(message, out)


if __name__ == "__main__":
    unittest.main()
