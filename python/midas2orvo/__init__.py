"""Reads MIDAS plain-text structural models (.mgt) into NumPy arrays, through the midas2orvo library.

    import midas2orvo
    model = midas2orvo.read("frame.mgt")       # today's layout; profile="classic" for the older one
    model.nodes, model.members, model.point_loads, model.report

Units are those of the host model: mm, kN, kN*m (see the project's README). ``model.write_vtu(path)``
writes the model for ParaView (needs meshio).
"""
import errno
import json
import os
import stat

from ._midas2orvo import read as _read
from ._records import Finding, LedgerEntry, LoadCase, Material, Section, Thickness

__all__ = ["read", "Model", "TranslationRefused", "Material", "Section", "Thickness", "LoadCase",
           "Finding", "LedgerEntry"]

_TYPES = {"Material": Material, "Section": Section, "Thickness": Thickness, "LoadCase": LoadCase}


class TranslationRefused(Exception):
    """The file was read, but its units cannot be converted: nothing was translated.

    ``reason`` says why ("no *UNIT block", "force unit TONF cannot be converted ..."), ``messages`` holds
    the library's messages to the user, ``model`` the empty Model with the summary, report and ledger.
    """

    def __init__(self, path, model):
        text = f"{path}: not translated: {model.refusal}"
        if model.messages:
            text += " (" + "; ".join(model.messages) + ")"
        super().__init__(text)
        self.reason, self.messages, self.model = model.refusal, model.messages, model


class Model:
    """The translated host model. Indexes are 0-based positions; -1 stands for none.

    nodes (N x 3 float64, mm), node_ids (N int32), restraints (N uint8, one bit per fixed freedom),
    members (M x 2 int32 node indexes), member_groups (M str), groups (the distinct group names) and
    member_group_index (M int32 into groups), member_sections (M int32 into sections), member_shapes
    (M int32 shape codes), member_materials (M int32 into materials), member_releases (M x 2 uint8),
    materials, sections, thicknesses (lists of Material, Section, Thickness), areas (list of int32
    node-index arrays) with area_kinds, area_thicknesses and area_materials (int32), point_loads and
    member_loads (structured arrays of the host fields plus "node" or "member", the index of what lists
    the load), load_cases (list of LoadCase), report (list of Finding), ledger (list of LedgerEntry),
    messages (the library's messages), summary and report_text (as ``mgt2orvo`` and
    ``mgt2orvo --report`` print them; bytes of names that are not UTF-8 kept as os.fsdecode keeps them,
    unless an encoding was given), profile, ok (False only on the model of a TranslationRefused) and
    refusal (its cause), length_factor (the file's length unit in mm), timings (seconds spent
    translating and converting).
    """

    def __init__(self, raw, profile):
        report = json.loads(raw.pop("report_json"))
        self.__dict__.update(raw)
        self.summary, self.report_text = (os.fsdecode(raw[name]) for name in ("summary", "report_text"))
        self.profile = profile
        self.report = [Finding(**finding) for finding in report["findings"]]
        self.ledger = [LedgerEntry(**entry) for entry in report["ledger"]]

    def vertical_load(self, case_id):
        """Total force along global Z in kN of load case case_id: nodal FZ, and member loads along GZ
        (concentrated forces, and uniform forces times their loaded length)."""
        nodal = self.point_loads[self.point_loads["CaseID"] == case_id]["FZ"].sum()
        loads = self.member_loads[(self.member_loads["CaseID"] == case_id) & (self.member_loads["Direction"] == 2)]
        concentrated = loads[loads["LoadType"] == 2]["Value1"].sum()
        uniform = loads[loads["LoadType"] == 1]
        # Positions are in m; a classic read keeps uniform values per length of the file's unit.
        per_metre = 1.0 if self.profile == "current" else 1000.0 / self.length_factor
        spans = uniform["Position2"] - uniform["Position1"]
        return float(nodal + concentrated + per_metre * ((uniform["Value1"] + uniform["Value2"]) / 2 * spans).sum())

    def to_meshio(self):
        """The model as a meshio.Mesh: "line" cells for members, "triangle" and "quad" cells for areas
        (members and areas with a corner that names no node, and areas of other than three or four
        corners, are left out), cell data "group" (index into groups), "section_shape" and "material"
        (index into materials), -1 where an area has none, and point data "restraint"."""
        import meshio
        import numpy as np

        whole = (self.members >= 0).all(axis=1)
        cells = [("line", self.members[whole])]
        data = {"group": [self.member_group_index[whole]], "section_shape": [self.member_shapes[whole]],
                "material": [self.member_materials[whole]]}
        sizes = np.fromiter(map(len, self.areas), np.int64, len(self.areas))
        flat = np.concatenate(self.areas) if self.areas else np.zeros(0, np.int32)
        starts = np.cumsum(sizes) - sizes
        for corners, kind in ((3, "triangle"), (4, "quad")):
            rows = starts[sizes == corners][:, None] + np.arange(corners)
            block = flat[rows].reshape(-1, corners)
            keep = (block >= 0).all(axis=1)
            if keep.any():
                cells.append((kind, block[keep]))
                none = np.full(int(keep.sum()), -1, np.int32)
                data["group"].append(none)
                data["section_shape"].append(none)
                data["material"].append(self.area_materials[sizes == corners][keep])
        return meshio.Mesh(self.nodes, cells, point_data={"restraint": self.restraints}, cell_data=data)

    def write_vtu(self, path):
        """Writes the model as a VTK unstructured grid (.vtu) for ParaView; see to_meshio."""
        import meshio

        meshio.write(path, self.to_meshio(), file_format="vtu")


def read(path, profile="current", encoding=None, threads=0):
    """Reads and translates the MIDAS text file at path into a Model.

    profile: "current" (the layout MIDAS Gen/Civil 8.x and 9.x write) or "classic" (the older layout).
    threads: the threads that read large files (0, the default: one per hardware thread; 1: one).
    encoding: the code page of the file's names (e.g. "GBK", "CP949"); without it, bytes that are not
    UTF-8 become the characters of the same numbers. Raises FileNotFoundError, IsADirectoryError,
    PermissionError or OSError when the file cannot be read (a FIFO or device is never opened),
    TranslationRefused when its units cannot be converted, and ValueError for an unknown profile or
    encoding, or a negative thread count.
    """
    path = os.fspath(path)
    mode = os.stat(path).st_mode
    if stat.S_ISDIR(mode):
        raise IsADirectoryError(errno.EISDIR, os.strerror(errno.EISDIR), path)
    if not stat.S_ISREG(mode):
        raise OSError(errno.EINVAL, "not a regular file", path)
    with open(path, "rb"):
        pass
    raw = _read(os.fsencode(path), os.fsencode(path), profile, encoding, _TYPES, threads)
    if not raw.pop("read"):
        raise OSError(errno.EIO, "cannot be read", path)
    model = Model(raw, profile)
    if not model.ok:
        raise TranslationRefused(os.fsdecode(path), model)
    return model
