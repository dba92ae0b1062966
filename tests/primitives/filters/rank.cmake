# Test sources of this family, relative to tests/primitives/.
list(APPEND FILTERS_TESTS)
