"""Prints the id of every end-to-end test case, one a line, for ctest to run
each as a test of its own; with --bits 32 only the cases marked to run
against the 32-bit build too (lumae2e.also_32bit)."""

import argparse
import os
import unittest


def cases(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from cases(item)
        else:
            yield item


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bits", type=int, choices=(32, 64), default=64)
    args = parser.parse_args()
    suite = unittest.TestLoader().discover(os.path.dirname(os.path.abspath(__file__)),
                                          pattern="test_*.py")
    for case in cases(suite):
        if isinstance(case, unittest.loader._FailedTest):
            raise SystemExit(f"cannot load {case.id()}")
        method = getattr(case, case._testMethodName)
        if args.bits == 64 or getattr(method, "also_32bit", False):
            print(case.id())


if __name__ == "__main__":
    main()
