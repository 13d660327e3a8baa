"""The files of the analysis library and of the kernels include one another
one way only: no group of them (a header with its source) reaches itself
through its includes."""

import os
import re
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def dependencies(folder):
    """Each file stem of coders/`folder` (Crack for Crack.h and Crack.cpp)
    with the stems of the folder that its files include."""
    directory = os.path.join(ROOT, "coders", folder)
    found = {}
    for name in os.listdir(directory):
        stem, extension = os.path.splitext(name)
        if extension not in (".h", ".cpp"):
            continue
        with open(os.path.join(directory, name), encoding="utf-8") as source:
            included = INCLUDE.findall(source.read())
        targets = found.setdefault(stem, set())
        for path in included:
            # As the library includes its own headers: "analysis/Crack.h" or "Crack.h".
            target, _ = os.path.splitext(path.removeprefix(folder + "/"))
            if target != stem and os.path.exists(os.path.join(directory, target + ".h")):
                targets.add(target)
    return found


def cycles(graph):
    """The groups of stems that reach one another (Tarjan's strongly
    connected components), of two or more."""
    index, low, stack, on, groups = {}, {}, [], set(), []

    def visit(stem):
        index[stem] = low[stem] = len(index)
        stack.append(stem)
        on.add(stem)
        for target in graph.get(stem, ()):
            if target not in index:
                visit(target)
                low[stem] = min(low[stem], low[target])
            elif target in on:
                low[stem] = min(low[stem], index[target])
        if low[stem] == index[stem]:
            group = []
            while not group or group[-1] != stem:
                group.append(stack.pop())
                on.discard(group[-1])
            if len(group) > 1:
                groups.append(sorted(group))

    for stem in sorted(graph):
        if stem not in index:
            visit(stem)
    return groups


class IncludesRunOneWay(unittest.TestCase):
    def test_finds_a_cycle(self):
        loop = {"a": {"b"}, "b": {"c"}, "c": {"a"}, "d": {"a"}}
        self.assertEqual(cycles(loop), [["a", "b", "c"]])
        self.assertEqual(cycles({"a": {"b"}, "b": set()}), [])

    def test_analysis_has_none(self):
        graph = dependencies("analysis")
        self.assertIn("Crack", graph)
        self.assertEqual(cycles(graph), [])

    def test_kernels_have_none(self):
        graph = dependencies("kernels")
        self.assertIn("Avx2", graph["Kernels"])
        self.assertEqual(cycles(graph), [])


if __name__ == "__main__":
    unittest.main()
