"""Pipelines from Python: forms and code, properties, describe, frames
pushed in and pulled out, errors, and stable memory over many frames."""

import threading

import numpy as np
import pytest

import framecraft as fc
from conftest import traced_growth

FORM = """object Chain: TComponent
  object Jaehne1: TFCJaehneGen
    ImageSize.Width = 64
    ImageSize.Height = 48
    OutputPin.SinkPins = (Resize1.InputPin)
  end
  object Resize1: TFCResize
    OutputSize.Width = 40
    OutputSize.Height = 30
    Interpolation = ifCubic
    OutputPin.SinkPins = (Grey1.InputPin)
  end
  object Grey1: TFCGrayScale
  end
end
"""


def built_in_code():
    p = fc.Pipeline("Chain")
    p.add("TFCJaehneGen", "Jaehne1", ImageSize=(64, 48))
    p.add("TFCResize", "Resize1", OutputSize=(40, 30), Interpolation="ifCubic")
    p.add("TFCGrayScale", "Grey1")
    p.connect("Jaehne1.OutputPin", "Resize1.InputPin")
    p.connect("Resize1.OutputPin", "Grey1.InputPin")
    return p


def test_a_pipeline_built_in_code_gives_the_frames_of_its_form(tmp_path):
    form = tmp_path / "chain.fcf"
    form.write_text(FORM)
    loaded = fc.Pipeline.load(str(form))
    assert loaded.components == ["Jaehne1", "Resize1", "Grey1"]
    from_form = list(loaded.frames("Grey1.OutputPin", count=3))
    from_code = list(built_in_code().frames("Grey1.OutputPin", count=3))
    assert len(from_form) == 3 and from_form[0].shape == (30, 40) and from_form[0].dtype == np.uint8
    for a, b in zip(from_form, from_code):
        np.testing.assert_array_equal(a, b)
    resized = next(built_in_code().frames("Resize1.OutputPin", count=1))
    assert resized.shape == (30, 40, 3)


def test_properties_by_their_published_names():
    p = built_in_code()
    p["Resize1.Interpolation"] = "ifLanczos"
    assert p["Resize1.Interpolation"] == "ifLanczos"
    p["Resize1.OutputSize.Width"] = 32
    assert p["Resize1.OutputSize"] == {"Width": 32, "Height": 30}
    p["Resize1.OutputSize"] = {"Height": 24}
    assert p["Resize1.OutputSize.Height"] == 24
    assert p["Resize1.Enabled"] is True
    assert next(p.frames("Grey1.OutputPin", count=1)).shape == (24, 32)
    with pytest.raises(fc.Error, match="Resize1"):
        p["Resize1.NoSuchProperty"] = 1
    with pytest.raises(fc.Error):
        p["Resize1.Interpolation"] = "ifBogus"
    with pytest.raises(TypeError, match="Width"):
        p["Resize1.OutputSize.Width"] = 2.5
    with pytest.raises(fc.Error, match="Nobody"):
        p["Nobody.Enabled"]


def test_describe_returns_the_published_description():
    description = fc.describe("TFCResize")
    assert description["class"] == "TFCResize"
    interpolation = description["properties"]["Interpolation"]
    assert "ifCubic" in interpolation["values"] and interpolation["kind"] == "enum"
    assert "OutputSize.Width" in description["properties"]
    assert description["pins"]["InputPin"] == "sink" and description["pins"]["OutputPin"] == "source"
    with pytest.raises(fc.Error, match="TNoSuch"):
        fc.describe("TNoSuch")


def test_push_and_pull_on_two_threads():
    p = fc.Pipeline()
    p.add("TFCGrayScale", "Grey1")
    levels = list(range(0, 250, 10))
    frames = p.frames("Grey1.OutputPin", count=len(levels), timeout=20)
    pulled = []
    puller = threading.Thread(target=lambda: pulled.extend(frames))
    puller.start()
    for level in levels:
        p.push("Grey1.InputPin", np.full((12, 16, 3), level, np.uint8))
    puller.join(30)
    assert not puller.is_alive()
    assert [f.shape for f in pulled] == [(12, 16)] * len(levels)
    assert [int(f[0, 0]) for f in pulled] == pytest.approx(levels, abs=1)


def test_pipeline_errors_name_the_component_or_file(tmp_path):
    with pytest.raises(fc.Error):
        fc.Pipeline.load(str(tmp_path / "missing.fcf"))
    broken = tmp_path / "broken.fcf"
    broken.write_text("object A: TComponent\n  object B: TNoSuchClass\n  end\nend\n")
    with pytest.raises(fc.Error, match="broken.fcf"):
        fc.Pipeline.load(str(broken))
    p = built_in_code()
    with pytest.raises(fc.Error, match="TNoSuch"):
        p.add("TNoSuch", "X1")
    with pytest.raises(fc.Error, match="Grey1"):
        p.connect("Grey1.NoPin", "Resize1.InputPin")
    with pytest.raises(fc.Error, match="Resize1"):
        p.add("TFCResize", "Resize1")
    with pytest.raises(TypeError):
        p.push("Grey1.InputPin", np.zeros((4, 4, 3), np.float64))


def test_memory_is_stable_over_many_frames():
    p = fc.Pipeline()
    p.add("TFCGrayScale", "Grey1")
    frames = p.frames("Grey1.OutputPin", timeout=5)
    image = np.zeros((12, 16, 3), np.uint8)

    def step():
        p.push("Grey1.InputPin", image)
        return next(frames)

    assert traced_growth(step, 10_000) < 64 * 1024

    pumped = built_in_code()
    for frame in pumped.frames("Grey1.OutputPin", count=200):
        assert frame.shape == (30, 40)


def test_frames_are_handed_over_without_a_copy_unless_shared():
    p = fc.Pipeline()
    p.add("TFCGrayScale", "Grey1")
    first = p.frames("Grey1.OutputPin", timeout=5)
    second = p.frames("Grey1.OutputPin", timeout=5)
    p.push("Grey1.InputPin", np.full((6, 8, 3), 90, np.uint8))
    copied = next(first)  # the other pull still holds the frame
    handed_over = next(second)  # now nobody else does
    assert copied.flags.owndata and not handed_over.flags.owndata
    handed_over[:] = 0  # writing into it changes no other frame
    assert (copied == 90).all()
