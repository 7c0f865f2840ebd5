"""The command line of a test script: the values CMake passes as --NAME
go onto a config object, the rest goes to unittest."""
import argparse
import os
import sys
import unittest


def read_args(config, paths=(), values=()):
    """Sets config.NAME from the required --NAME of each name (paths made
    absolute); returns the remaining command line, program name first."""
    parser = argparse.ArgumentParser()
    for name in (*paths, *values):
        parser.add_argument("--" + name, required=True)
    args, rest = parser.parse_known_args()
    for name in paths:
        setattr(config, name, os.path.abspath(getattr(args, name)))
    for name in values:
        setattr(config, name, getattr(args, name))
    return [sys.argv[0]] + rest


def run_tests(config, paths=(), values=()):
    unittest.main(argv=read_args(config, paths, values), verbosity=2)
