#!/usr/bin/env python3
"""Checks JSON files against docs/mgt2orvo.schema.json, reading only the schema keywords it uses: type,
enum, anyOf, properties, required, additionalProperties, items and $ref into $defs. Prints each
mismatch and exits 1 when there is any. Usage: schema_check.py SCHEMA FILE..."""
import json
import sys

TYPES = {"object": dict, "array": list, "string": str, "boolean": bool}


def fits(value, kind):
    if kind in ("number", "integer"):  # JSON true is no number, 1.0 no integer
        return type(value) in ((int, float) if kind == "number" else (int,))
    return isinstance(value, TYPES[kind])


def errors(value, schema, defs, path="$"):
    if "$ref" in schema:
        schema = defs[schema["$ref"].removeprefix("#/$defs/")]
    kinds = schema.get("type", [])
    if kinds and not any(fits(value, kind) for kind in ([kinds] if isinstance(kinds, str) else kinds)):
        return [f"{path}: {value!r} is not of type {kinds}"]
    found = []
    if "enum" in schema and not any(type(value) == type(e) and value == e for e in schema["enum"]):
        found.append(f"{path}: {value!r} is not one of {schema['enum']}")
    if "anyOf" in schema and all(errors(value, choice, defs, path) for choice in schema["anyOf"]):
        found.append(f"{path}: {value!r} fits none of {schema['anyOf']}")
    if isinstance(value, dict):
        found += [f"{path}: no {key}" for key in schema.get("required", []) if key not in value]
        for key, item in value.items():
            if key in schema.get("properties", {}):
                found += errors(item, schema["properties"][key], defs, f"{path}.{key}")
            elif schema.get("additionalProperties") is False:
                found.append(f"{path}: {key} is not allowed")
    if isinstance(value, list) and "items" in schema:
        for index, item in enumerate(value):
            found += errors(item, schema["items"], defs, f"{path}[{index}]")
    return found


schema = json.load(open(sys.argv[1]))
problems = [f"{name}: {e}" for name in sys.argv[2:] for e in errors(json.load(open(name)), schema, schema["$defs"])]
if problems:
    print("\n".join(problems))
sys.exit(1 if problems else 0)
