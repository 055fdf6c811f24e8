"""Type stubs of the midas2orvo package."""
import os
from typing import Any, Dict, List, Optional, Union

import numpy as np
import numpy.typing as npt

from ._records import Finding as Finding, LedgerEntry as LedgerEntry, LoadCase as LoadCase
from ._records import Material as Material, Section as Section, Thickness as Thickness

_Path = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]

class Model:
    profile: str
    ok: bool
    refusal: str
    messages: List[str]
    summary: str
    report_text: str
    length_factor: float
    timings: Dict[str, float]
    nodes: npt.NDArray[np.float64]
    node_ids: npt.NDArray[np.int32]
    restraints: npt.NDArray[np.uint8]
    members: npt.NDArray[np.int32]
    member_groups: List[str]
    groups: List[str]
    member_group_index: npt.NDArray[np.int32]
    member_sections: npt.NDArray[np.int32]
    member_shapes: npt.NDArray[np.int32]
    member_materials: npt.NDArray[np.int32]
    member_releases: npt.NDArray[np.uint8]
    materials: List[Material]
    sections: List[Section]
    thicknesses: List[Thickness]
    areas: List[npt.NDArray[np.int32]]
    area_kinds: npt.NDArray[np.int32]
    area_thicknesses: npt.NDArray[np.int32]
    area_materials: npt.NDArray[np.int32]
    point_loads: npt.NDArray[np.void]
    member_loads: npt.NDArray[np.void]
    load_cases: List[LoadCase]
    report: List[Finding]
    ledger: List[LedgerEntry]
    def __init__(self, raw: Dict[str, Any], profile: str) -> None: ...
    def vertical_load(self, case_id: int) -> float: ...
    def to_meshio(self) -> Any: ...
    def write_vtu(self, path: _Path) -> None: ...

class TranslationRefused(Exception):
    reason: str
    messages: List[str]
    model: Model
    def __init__(self, path: str, model: Model) -> None: ...

def read(path: _Path, profile: str = ..., encoding: Optional[str] = ..., threads: int = ...) -> Model: ...
