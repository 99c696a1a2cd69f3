#!/usr/bin/env python3
"""Checks scripts/check-layers.py on small source trees written for each case: what it must let pass
and what it must stop, with the files and lines it names.

usage: check_layers_test.py [CHECK_LAYERS]    (the script beside this tree's scripts/ when not given)"""
import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'check-layers.py')


class Tree:
    """A source tree in a temporary folder: file path -> lines."""

    def __init__(self, files):
        self.folder = tempfile.TemporaryDirectory()
        for path, lines in files.items():
            full = os.path.join(self.folder.name, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, 'w', encoding='utf-8') as out:
                out.write(''.join(line + '\n' for line in lines))

    def check(self):
        run = subprocess.run([sys.executable, CHECK, self.folder.name], capture_output=True, text=True)
        return run.returncode, run.stdout

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.folder.cleanup()


def include(header):
    return f'#include "{header}"'


# A layered tree the rule allows: a core, two subsystems on it with windows on their own core and on
# each other's in one direction, the shared window folder and app on top.
ALLOWED = {
    'base/Text.h': ['#pragma once', '#include <string>'],
    'records/Store.h': ['#pragma once', include('base/Text.h')],
    'records/ui/ImportWindow.h': ['#pragma once', '#include <QDialog>', include('records/Store.h'),
                                  include('ui/Prompter.h')],
    'report/Page.h': [include('records/Store.h')],
    'report/ui/Preview.cpp': [include('report/Page.h'), include('records/ui/ImportWindow.h')],
    'ui/Prompter.h': ['#include <QMessageBox>'],
    'serial/Port.cpp': [include('serial/platform/Driver.h')],
    'serial/platform/Driver.h': ['#include <termios.h>'],
    'app/MainWindow.cpp': [include('report/ui/Preview.cpp'), include('records/ui/ImportWindow.h')],
}


def tree_with(**changes):
    """ALLOWED with files added or replaced (path with '__' for '/' and '_' for '.')."""
    files = dict(ALLOWED)
    for key, lines in changes.items():
        files[key.replace('__', '/').replace('_h', '.h').replace('_cpp', '.cpp')] = lines
    return Tree(files)


class LayeredTreePasses(unittest.TestCase):
    def test_a_layered_tree_passes(self):
        with Tree(ALLOWED) as tree:
            self.assertEqual(tree.check(), (0, ''))

    def test_windows_include_qt_and_their_own_core(self):
        with tree_with(records__ui__Chart_cpp=['#include <QPainter>', '#include <qcustomplot.h>',
                                                 include('records/ui/ImportWindow.h'),
                                                 include('records/Store.h')]) as tree:
            self.assertEqual(tree.check(), (0, ''))


class CoreStaysWithoutWindows(unittest.TestCase):
    def test_a_core_file_that_includes_its_own_window_fails(self):
        with tree_with(records__Store_cpp=['', include('records/ui/ImportWindow.h')]) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assertIn('records/Store.cpp:2: core file includes window header records/ui/ImportWindow.h', out)

    def test_a_core_file_that_includes_the_shared_window_folder_fails(self):
        with tree_with(report__Page_cpp=[include('ui/Prompter.h')]) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assertIn('report/Page.cpp:1: core file includes window header ui/Prompter.h', out)

    def test_a_core_file_that_includes_qt_fails(self):
        with tree_with(base__Text_cpp=['#include <string>', '#include <QString>'],
                       base__Plot_cpp=['#include <qcustomplot.h>']) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assertIn('base/Text.cpp:2: core file includes Qt header <QString>', out)
        self.assertIn('base/Plot.cpp:1: core file includes Qt header <qcustomplot.h>', out)


class SubsystemsDoNotIncludeEachOther(unittest.TestCase):
    def assert_loop(self, out, *edges):
        loops = [line for line in out.splitlines() if line.startswith('subsystems include each other: ')]
        self.assertEqual(len(loops), 1, out)
        for edge in edges:
            self.assertIn(edge, loops[0])

    def test_two_window_folders_that_include_each_other_fail(self):
        with tree_with(records__ui__ImportWindow_cpp=[include('records/ui/ImportWindow.h'),
                                                      include('report/ui/Preview.h')],
                       report__ui__Preview_h=['#pragma once']) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assert_loop(out,
                         'records -> report (records/ui/ImportWindow.cpp:2 includes report/ui/Preview.h)',
                         'report -> records (report/Page.h:1 includes records/Store.h)')

    def test_a_window_on_the_other_core_and_a_window_back_fail(self):
        # The pair that once passed because no two folders of it included each other.
        with tree_with(survey__Survey_h=[include('records/Store.h')],
                       survey__ui__SurveyWindow_cpp=[include('report/ui/Preview.h')],
                       report__ui__Preview_h=[include('survey/Survey.h')]) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assert_loop(out,
                         'report -> survey (report/ui/Preview.h:1 includes survey/Survey.h)',
                         'survey -> report (survey/ui/SurveyWindow.cpp:1 includes report/ui/Preview.h)')

    def test_a_window_on_a_core_that_includes_its_own_core_back_fails(self):
        with tree_with(records__ui__Summary_cpp=[include('report/Page.h')]) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assert_loop(out, 'records -> report (records/ui/Summary.cpp:1 includes report/Page.h)',
                         'report -> records (report/Page.h:1 includes records/Store.h)')

    def test_a_longer_loop_fails(self):
        with tree_with(base__Text_cpp=[include('report/Page.h')]) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assert_loop(out, 'base -> report (base/Text.cpp:1 includes report/Page.h)',
                         'records -> base (records/Store.h:2 includes base/Text.h)',
                         'report -> records (report/Page.h:1 includes records/Store.h)')

    def test_a_subfolder_other_than_ui_is_a_subsystem_of_its_own(self):
        with tree_with(serial__platform__Driver_h=[include('serial/Port.h')], serial__Port_h=[]) as tree:
            code, out = tree.check()
        self.assertEqual(code, 1)
        self.assert_loop(out, 'serial -> serial/platform', 'serial/platform -> serial')


if __name__ == '__main__':
    # The script under test may come first; unittest's own arguments follow.
    if len(sys.argv) > 1 and sys.argv[1].endswith('.py'):
        CHECK = sys.argv.pop(1)
    unittest.main()
