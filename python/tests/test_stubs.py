"""The type stubs name everything the module publishes, with docstrings."""

import ast
import pathlib

import framecraft as fc


def stub_names():
    tree = ast.parse((pathlib.Path(fc.__file__).parent / "__init__.pyi").read_text())
    return {node.name for node in tree.body if isinstance(node, (ast.FunctionDef, ast.ClassDef))}


def test_every_public_name_has_a_stub_and_a_docstring():
    public = {name for name in dir(fc) if not name.startswith("_")}
    assert public - stub_names() == set()
    assert [name for name in public if not getattr(fc, name).__doc__] == []
