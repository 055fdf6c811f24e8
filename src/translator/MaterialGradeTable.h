// MaterialGradeTable: the built-in constants of the 18 standard steel and concrete grades.
#pragma once

#include "midas2orvo/OrvoModel.h"

// The four structural steels (Q235 to Q420) and fourteen concretes (C15 to C80), already in kN and mm.
// Empty until Fill runs.
class MaterialGradeTable {
public:
    static constexpr int kSize = 18;
    // Grade code of a material whose constants the file gives.
    static constexpr int kUserDefinedGrade = 21;

    // Builds the 18 entries, replacing any earlier ones; returns true.
    bool Fill();
    // The entry at a 0-based position, or null when the table holds none there.
    const MaterialProperty* Lookup(int position) const;
    // Position of a grade name among the steels (positions 0-3) or concretes (4-17); -1 when absent.
    static int FindSteel(const std::string& gradeName);
    static int FindConcrete(const std::string& gradeName);
    // The constants of a typical material of a TYPE word (STEEL, CONC) as the table writes them: grade
    // code 21, Poisson's ratio, thermal coefficient and density, modulus and yield 0; null for another.
    static const MaterialProperty* Typical(const std::string& type);

private:
    MaterialProperty m_Entries[kSize];
    bool m_bFilled = false;
};
