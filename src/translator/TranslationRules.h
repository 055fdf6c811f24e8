// TranslationRules: where translating a classic file and one in today's layout differ (addressing, force
// units, grade lookup, scaling, load-case matching). Chosen once from the reading profile.
#pragma once

#include <string>

#include "midas2orvo/Diagnostics.h"

struct TranslationRules {
    // Supports, releases, groups (and members' sections) find their records by number, not position.
    bool addressesByNumber;
    // Section dimensions written in the file are lengths in the file's unit, scaled to mm.
    bool scalesSectionDimensions;
    // Load case of a section name: exact name first, then the first name contained in it.
    bool matchesLoadCaseExactlyFirst;
    // Nodal and member loads follow the line's whole ID list and reach only nodes and members that exist
    // (else: the line's first number, a load made even where nothing has it).
    bool walksIdLists;
    // The force unit code of a force word, or 0 with the message to show (possibly empty) when the word
    // cannot be converted.
    int (*forceUnit)(const std::string& word, std::string& message);
    // The factor to kN of a force unit code (0.0 for no valid code).
    double (*forceFactor)(int code);
    // Position in the grade table of a standard code and grade name, or -1.
    int (*findGrade)(const std::string& code, const std::string& grade);
    // A section database designation of a family the catalogue does not hold (B, SB, SR) is read as
    // dimensions, in mm.
    bool readsDesignationDimensions;
    // Each section the host's 13 values cannot describe is named in a finding.
    bool namesUntranslatedSections;
    // A member's material is the host ID of the material with that file number (else the file's number).
    bool linksMaterialsByHostID;
    // A database grade not in the table takes its modulus from the line and the other constants typical
    // of its TYPE.
    bool takesGradeModulusFromLine;
    // A node named by several *CONSTRAINT lines is restrained in the union of their flags (else: the last).
    bool unitesSupportLines;
    // Load case types of today's files: construction-stage and other dead-load types are dead, wind types
    // wind, every other type live and named (else: only D is dead and W wind).
    bool knowsLoadCaseTypes;
    // A projected member load (global direction) is converted to a load per length of the member.
    bool convertsProjectedLoads;
    // PLATE and WALL elements become host areas (else only line members reach the host).
    bool translatesAreas;

    // One unit per quantity: member loads scaled by their dimension (kN/m, kN, kN*m, kN*m/m; positions in
    // m), "UNIMOMENT" read as the uniform moment, densities as mass per volume in kg/mm3 (else: the
    // classic scaling, forces and positions of member load types 1 and 2 only).
    bool scalesByDimension;

    static const TranslationRules& For(MidasReadingProfile profile);
};
