"""The Python package against mgt2orvo: the same model, summary and report; errors as exceptions; .vtu."""
import json
import os
import pathlib
import subprocess
import sys

import meshio
import pytest

import midas2orvo

CLI = os.environ["MIDAS2ORVO_CLI"]
SOURCE = pathlib.Path(os.environ.get("MIDAS2ORVO_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
EXAMPLE = str(SOURCE / "examples" / "portal-frame.mgt")
REAL = pathlib.Path(os.environ.get("MIDAS2ORVO_REAL_MODELS", SOURCE.parent / "shared" / "real-models"))
CODE_PAGES = {"01": "CP949", "03": "GBK", "05": "CP1251", "07": "GBK", "09": "GBK", "11": "GBK"}
REAL_FILES = sorted(REAL.glob("[0-9][0-9]-*.mgt")) if REAL.is_dir() else []

# (file, profile, encoding): the example; each real file in the current profile with its code page and in
# the classic profile with none (names with bytes that are not UTF-8).
CASES = [(EXAMPLE, "classic", None), (EXAMPLE, "current", None)] + [
    (str(f), profile, CODE_PAGES.get(f.name[:2]) if profile == "current" else None)
    for f in REAL_FILES for profile in ("current", "classic")]


def run(*args):
    return subprocess.run(args, capture_output=True)


def first_index(records, key):
    index = {}
    for i, record in enumerate(records):
        index.setdefault(key(record), i)
    return index


def listing(carriers, field, count):
    """Index of the first carrier whose list names each load (numbers are 1-based), -1 for none."""
    owner = [-1] * count
    for i, carrier in enumerate(carriers):
        for number in carrier[field]:
            if 1 <= number <= count and owner[number - 1] < 0:
                owner[number - 1] = i
    return owner


def columns(array, records):
    """The host fields of a structured array, and of the JSON records, column by column."""
    names = list(records[0]) if records else []
    return len(array), {name: array[name].tolist() for name in names}, {name: [r[name] for r in records] for name in names}


@pytest.mark.parametrize("path,profile,encoding", CASES)
def test_same_model_summary_and_report_as_the_tool(path, profile, encoding):
    options = ["--profile", profile] + (["--encoding", encoding] if encoding else [])
    dump = json.loads(run(CLI, "--json", "--report", *options, path).stdout)
    tool, module = run(CLI, "--report", *options, path), run(sys.executable, "-m", "midas2orvo", "--report", *options, path)
    assert (module.stdout, module.returncode) == (tool.stdout, tool.returncode)
    if not dump["ok"]:
        with pytest.raises(midas2orvo.TranslationRefused) as refused:
            midas2orvo.read(path, profile, encoding)
        assert refused.value.messages == dump["messages"]
        assert refused.value.reason.encode() in tool.stderr
        return
    model, host, report = midas2orvo.read(path, profile, encoding), dump["model"], dump["report"]
    nodes, lines, areas = host["Nodes"], host["Lines"], host["Areas"]
    node = first_index(nodes, lambda n: n["ID"])
    section = first_index(host["LSections"], lambda s: (s["ShapeCode"], s["ID"]))
    material = first_index(host["Materials"], lambda m: m["ID"])
    assert model.nodes.tolist() == [[n["X"], n["Y"], n["Z"]] for n in nodes]
    assert (model.node_ids.tolist(), model.restraints.tolist()) == ([n["ID"] for n in nodes], [n["Restraint"] for n in nodes])
    assert model.members.tolist() == [[node.get(l["StartNode"], -1), node.get(l["EndNode"], -1)] for l in lines]
    assert model.member_groups == [l["GroupName"] for l in lines]
    assert [model.groups[i] for i in model.member_group_index] == model.member_groups
    assert model.member_releases.tolist() == [[l["StartRelease"], l["EndRelease"]] for l in lines]
    assert model.member_sections.tolist() == [section.get((l["SectionShape"], l["SectionID"]), -1) for l in lines]
    assert model.member_materials.tolist() == [material.get(l["MaterialID"], -1) for l in lines]
    assert [m._asdict() for m in model.materials] == host["Materials"]
    assert [dict(s._asdict(), Properties=list(s.Properties)) for s in model.sections] == host["LSections"]
    assert [t._asdict() for t in model.thicknesses] == host["ASections"]
    assert [a.tolist() for a in model.areas] == [[node.get(n, -1) for n in a["Nodes"]] for a in areas]
    assert model.area_kinds.tolist() == [a["Kind"] for a in areas]
    for loads, records in ((model.point_loads, host["PointLoads"]), (model.member_loads, host["LineLoads"])):
        count, ours, theirs = columns(loads, records)
        assert (count, ours) == (len(records), theirs)
    assert model.point_loads["node"].tolist() == listing(nodes, "PointLoads", len(host["PointLoads"]))
    assert model.member_loads["member"].tolist() == listing(lines, "LineLoads", len(host["LineLoads"]))
    assert [f._asdict() for f in model.report] == report["findings"]
    assert [e._asdict() for e in model.ledger] == report["ledger"]


@pytest.mark.parametrize("profile", ["classic", "current"])
def test_load_cases_and_vertical_load_of_the_example(profile):
    model = midas2orvo.read(EXAMPLE, profile)  # the current profile reads its member loads' classic columns
    assert model.load_cases == [(1, 0, "DL"), (2, 1, "LL")]
    # DL: 25 kN on node 5 and 3.5 kN/m over both 6 m girders; LL: 12 kN at the middle of a girder.
    assert [model.vertical_load(case.id) for case in model.load_cases] == pytest.approx([-67.0, -12.0])


def unit_file(tmp_path, unit):
    text = pathlib.Path(EXAMPLE).read_text().replace("   KN   , MM, KJ, C", unit)
    (tmp_path / "frame.mgt").write_text(text)
    return tmp_path / "frame.mgt"


@pytest.mark.parametrize("make,profile,encoding,error,text", [
    (lambda tmp: tmp / "missing.mgt", "current", None, FileNotFoundError, "missing.mgt"),
    (lambda tmp: tmp, "current", None, IsADirectoryError, "Is a directory"),
    (lambda tmp: "/dev/null", "current", None, OSError, "not a regular file"),
    (lambda tmp: EXAMPLE, "modern", None, ValueError, "profile"),
    (lambda tmp: EXAMPLE, "current", "NO-SUCH-PAGE", ValueError, "NO-SUCH-PAGE"),
    (lambda tmp: unit_file(tmp, "TONF, MM, KJ, C"), "classic", None, midas2orvo.TranslationRefused,
     "TONF Can't Convert,Please use KN,mm Unit!"),
    (lambda tmp: unit_file(tmp, "KN, FURLONG, KJ, C"), "current", None, midas2orvo.TranslationRefused,
     "length unit FURLONG unknown"),
    (lambda tmp: unit_file(tmp, ""), "current", None, midas2orvo.TranslationRefused, "no \\*UNIT block"),
])
def test_errors_raise_and_print_nothing(tmp_path, capfd, make, profile, encoding, error, text):
    with pytest.raises(error, match=text):
        midas2orvo.read(make(tmp_path), profile, encoding)
    assert capfd.readouterr() == ("", "")


@pytest.mark.parametrize("name", ["01", "03"])
def test_vtu_of_a_real_model_reads_back(tmp_path, name):
    """Members and walls (01), members and plates (03)."""
    files = [f for f in REAL_FILES if f.name.startswith(name)]
    if not files:
        pytest.skip(f"no real model {name}-* in {REAL}")
    model = midas2orvo.read(files[0], "current")
    model.write_vtu(tmp_path / "model.vtu")
    mesh = meshio.read(tmp_path / "model.vtu")
    counts = {kind: 0 for kind in ("line", "triangle", "quad")}
    for block in mesh.cells:
        counts[block.type] += len(block.data)
    assert (counts["line"], counts["triangle"] + counts["quad"]) == (len(model.members), len(model.areas)) != (0, 0)
    assert mesh.point_data["restraint"].tolist() == model.restraints.tolist()
    assert mesh.cell_data["material"][0].tolist() == model.member_materials.tolist()
