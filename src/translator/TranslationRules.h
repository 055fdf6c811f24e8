// TranslationRules: where translating a classic file and one in today's layout differ (addressing, force
// units, grade lookup, scaling, load-case matching). Chosen once from the reading profile.
#pragma once

#include <string>

#include "midas2orvo/Diagnostics.h"

struct TranslationRules {
    // Supports, releases, groups (and members' sections) find their records by number, not position.
    bool addressesByNumber;
    // Grade-table constants are already in kN and mm, so they are scaled as for a KN/MM file.
    bool gradeTableInHostUnits;
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

    static const TranslationRules& For(MidasReadingProfile profile);
};
