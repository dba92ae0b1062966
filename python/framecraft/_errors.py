"""Exceptions and warnings raised by the framecraft module."""


class Error(Exception):
    """A component or pipeline refused an operation; the message names the
    component and property at fault."""


class PrimitiveError(Exception):
    """A primitive returned an error status: nothing was written.

    Attributes: ``name`` (the status constant, e.g. ``"ippStsSizeErr"``) and
    ``status`` (its negative code)."""

    def __init__(self, message, name="", status=0):
        super().__init__(message)
        self.name = name
        self.status = status


class PrimitiveWarning(UserWarning):
    """A primitive returned a warning status (positive): it wrote nothing or
    only part of the destination. Carries ``name`` and ``status`` like
    :class:`PrimitiveError`."""

    def __init__(self, message, name="", status=0):
        super().__init__(message)
        self.name = name
        self.status = status
