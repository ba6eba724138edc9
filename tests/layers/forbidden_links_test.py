#!/usr/bin/env python3
"""The layer check on tiny made-up projects: a folder whose rule forbids the dialogs,
the backup client or the settings fails the check when it links or includes them, and
passes when it keeps to its rule."""
import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_layers  # noqa: E402


class ForbiddenLinks(unittest.TestCase):
    def run_check(self, changeover_links, changeover_include):
        """Writes dialogs, settings, log (linking settings) and catalogue/changeover over
        them, the last linking and including as given; returns the exit code and output."""
        with tempfile.TemporaryDirectory() as root:
            files = {
                'dialogs/Ask.h': '',
                'dialogs/Ask.cpp': '#include "dialogs/Ask.h"\n',
                'settings/Reg.h': '',
                'settings/Reg.cpp': '#include "settings/Reg.h"\n',
                'log/Log.h': '',
                'log/Log.cpp': '#include "log/Log.h"\n#include "settings/Reg.h"\n',
                'catalogue/changeover/Run.cpp': '#include "%s"\n' % changeover_include,
            }
            for path, text in files.items():
                os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(root, path), 'w', encoding='utf-8') as f:
                    f.write(text)
            map_path = os.path.join(root, 'layer-map.txt')
            with open(map_path, 'w', encoding='utf-8') as f:
                f.write('dialogs|STATIC_LIBRARY|dialogs|Ask.h,Ask.cpp|\n')
                f.write('settings|STATIC_LIBRARY|settings|Reg.h,Reg.cpp|\n')
                f.write('logging|STATIC_LIBRARY|log|Log.h,Log.cpp|settings\n')
                f.write('catalogue_changeover|STATIC_LIBRARY|catalogue/changeover|Run.cpp|%s\n'
                        % ','.join(changeover_links))
            out = io.StringIO()
            with contextlib.redirect_stdout(out):
                code = check_layers.main(os.path.realpath(root), map_path)
            return code, out.getvalue()

    def test_a_direct_link_to_a_forbidden_folder_fails(self):
        for forbidden, header in (('dialogs', 'dialogs/Ask.h'), ('settings', 'settings/Reg.h')):
            with self.subTest(forbidden=forbidden):
                code, out = self.run_check(['logging', forbidden], header)
                self.assertEqual(code, 1)
                self.assertIn('catalogue_changeover (catalogue/changeover) links %s' % forbidden, out)

    def test_an_include_reached_through_another_link_fails(self):
        # The log links the settings, so the layers alone would let this include pass.
        code, out = self.run_check(['logging'], 'settings/Reg.h')
        self.assertEqual(code, 1)
        self.assertIn('includes "settings/Reg.h" of settings, which catalogue/changeover must not use', out)

    def test_a_folder_that_keeps_to_its_rule_passes(self):
        code, out = self.run_check(['logging'], 'log/Log.h')
        self.assertEqual(code, 0, out)


if __name__ == '__main__':
    unittest.main()
