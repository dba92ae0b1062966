# Test sources of this family, relative to tests/primitives/.
list(APPEND COLOR_TESTS)
