#!/usr/bin/env python3
# Checks JSON files against docs/mgt2orvo.schema.json with the schema keywords it uses (type, enum, anyOf,
# properties, required, additionalProperties, items, $ref into $defs); prints each mismatch, exits 1 on any.
# Usage: schema_check.py SCHEMA FILE...
import json
import sys

TYPES = {"object": (dict,), "array": (list,), "string": (str,), "boolean": (bool,), "number": (int, float),
         "integer": (int,)}  # type(), not isinstance(): JSON true is no number


def errors(value, schema, defs, path="$"):
    schema = defs[schema["$ref"].removeprefix("#/$defs/")] if "$ref" in schema else schema
    kinds = schema.get("type", [])
    if kinds and not any(type(value) in TYPES[kind] for kind in ([kinds] if isinstance(kinds, str) else kinds)):
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
    for index, item in enumerate(value if isinstance(value, list) and "items" in schema else []):
        found += errors(item, schema["items"], defs, f"{path}[{index}]")
    return found


schema = json.load(open(sys.argv[1]))
problems = [f"{name}: {e}" for name in sys.argv[2:] for e in errors(json.load(open(name)), schema, schema["$defs"])]
print("\n".join(problems), end="\n" if problems else "")
sys.exit(1 if problems else 0)
