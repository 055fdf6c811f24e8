"""The record types of a midas2orvo.Model: materials, sections, thicknesses, load cases, findings."""
from typing import NamedTuple, Tuple


class Material(NamedTuple):
    """A material of the host model: grade code (-1 none, 1-4 steel, 7-20 concrete, 21 user) and constants."""
    ID: int
    Grade: int
    Elastic: float
    Poisson: float
    Thermal: float
    Extra: float
    Density: float


class Section(NamedTuple):
    """A beam section: shape code, number within that shape code, name and its 13 property values."""
    ID: int
    ShapeCode: int
    Name: str
    Properties: Tuple[float, ...]


class Thickness(NamedTuple):
    """A plate thickness (area section) in mm."""
    ID: int
    Kind: int
    Thickness: float


class LoadCase(NamedTuple):
    """A load case the loads carry: its number (CaseID), kind (0 dead, 1 live, 2 wind) and name."""
    id: int
    kind: int
    name: str


class Finding(NamedTuple):
    """What did not reach the host model: kind, what it names, how many lines or records, first lines."""
    kind: str
    title: str
    name: str
    count: int
    lines: list
    examples: list


class LedgerEntry(NamedTuple):
    """A keyword line of the file with the data lines of its block used and passed over, and why."""
    keyword: str
    line: int
    dataLines: int
    used: int
    passedOver: int
    reasons: list
