// Steel section catalogue: resolves designations such as "HW300x305x15x15" to section properties.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// One catalogue section: its designation and the 13 property slots the host model reads.
class CSection {
public:
    std::string m_strName;     // designation text, numbers joined by 'x'
    double m_dProperties[13];  // property values, 0.0 unless the family fills the slot

    CSection();
    const std::string& GetName() const;
    double GetProperty(int k) const;  // 0.0 for an index outside 0..12
};

// The dimensions of a designation of any family, "PREFIX N x N ..." without blanks (separators 'x', 'X',
// '*', '/'), in the order written: how many were read into dims, or 0 unless the prefix letters are
// followed by 1 to max finite positive numbers and nothing else.
std::size_t ReadDesignationDimensions(std::string_view name, double* dims, std::size_t max);

// Looks sections up by designation. The catalogue is generated from the designation itself
// (family prefix plus dimensions), so no tables are held; resolved sections are kept per manager.
class CSectionManagement {
public:
    CSectionManagement();
    ~CSectionManagement();
    CSectionManagement(const CSectionManagement&) = delete;
    CSectionManagement& operator=(const CSectionManagement&) = delete;

    // The section of that designation, owned by this manager and valid until it is destroyed,
    // or nullptr when the designation names no catalogue section.
    CSection* GetSecParaMap(std::string name);

private:
    std::unordered_map<std::string, std::unique_ptr<CSection>> m_sections;  // keyed by designation text
};
