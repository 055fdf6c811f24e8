// _midas2orvo: translates a MIDAS text model and hands the host model to Python as NumPy arrays and small
// record objects, filled here in one pass per collection. The package midas2orvo wraps the result.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Encoding.h"
#include "JsonWriter.h"
#include "ModelDump.h"
#include "Report.h"
#include "Utf8.h"
#include "translator/Translation.h"

namespace py = pybind11;

namespace {

// The library's one user message (a force unit it cannot convert) goes to the translation running on
// this thread; the handler is set once, so no text reaches standard error or a dialog.
thread_local std::vector<std::string>* t_messages = nullptr;

void CollectMessage(const char* text, void*)
{
    if (t_messages)
        t_messages->push_back(text);
}

struct PointLoadRow {
    std::int32_t CaseKind, CaseID;
    double FX, FY, FZ, MX, MY, MZ;
    std::int32_t node;  // index of the node whose PointLoads lists the load, -1 for none
};

struct MemberLoadRow {
    std::int32_t CaseKind, CaseID, LoadType, Direction;
    double Value1, Value2, Position1, Position2;
    std::int32_t member;  // index of the member whose LineLoads lists the load, -1 for none
};

// Everything one import leaves: the host model, the findings and ledger, the load case names.
struct Import {
    TranslationOutcome outcome;
    ModalData_Orvo model;
    ReportCollector findings;
    std::vector<std::string> caseNames;
    double lengthFactor = 0.0;
    double seconds = 0.0;
};

void Translate(Import& import, const std::string& path, MidasReadingProfile profile, int threads)
{
    const auto start = std::chrono::steady_clock::now();
    t_messages = &import.outcome.messages;
    Translation translation;
    translation.SetReadingProfile(profile);
    translation.SetReadingThreads(threads);
    translation.SetDiagnostics(&import.findings);
    import.outcome.read = translation.ReadMidasFile(path.c_str());
    if (import.outcome.read)
        import.outcome.ok = translation.TranMidastoOrvo(import.model);
    t_messages = nullptr;
    if (const LoadCaseBlock* cases = translation.m_Blocks.loadCase.get())
        for (int i = 0; i < cases->GetCount(); ++i)
            import.caseNames.push_back(cases->GetRecord(i)->m_strName);
    import.lengthFactor = translation.m_dLengthFactor;
    import.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Position of the first record with each key; -1 for a key no record has.
class FirstIndex {
public:
    template <class Records, class KeyOf>
    FirstIndex(const Records& records, KeyOf keyOf)
    {
        m_Index.reserve(std::size_t(records.GetSize()));
        int position = 0;
        for (const auto* record : records)
            m_Index.try_emplace(keyOf(*record), position++);
    }
    std::int32_t operator()(long long key) const
    {
        const auto found = m_Index.find(key);
        return found == m_Index.end() ? -1 : found->second;
    }

private:
    std::unordered_map<long long, std::int32_t> m_Index;
};

long long SectionKey(long long shape, int id) { return shape << 32 | std::uint32_t(id); }

// Names as the JSON dump shows them: converted from the file's code page when one is given, well-formed
// UTF-8 kept, and any other byte taken as the character of the same number.
class Names {
public:
    explicit Names(const TextEncoder& encoder) : m_Encoder(encoder) {}
    std::string Utf8(std::string_view bytes) const
    {
        const std::string text = m_Encoder.ToUtf8(bytes);
        std::string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size();) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (const std::size_t length = byte < 0x80 ? 1 : Utf8SequenceLength(text, i)) {
                out.append(text, i, length);
                i += length;
            } else {
                out += char(0xC0 | byte >> 6);
                out += char(0x80 | (byte & 0x3F));
                ++i;
            }
        }
        return out;
    }
    py::str Str(std::string_view bytes) const { return py::str(Utf8(bytes)); }

private:
    const TextEncoder& m_Encoder;
};

void PutNodes(py::dict& out, const ModalData_Orvo& model)
{
    const py::ssize_t n = model.m_Nodes.GetSize();
    py::array_t<double> xyz({n, py::ssize_t(3)});
    py::array_t<std::int32_t> ids(n);
    py::array_t<std::uint8_t> restraints(n);
    double* x = xyz.mutable_data();
    for (py::ssize_t i = 0; i < n; ++i) {
        const Node_Orvo& node = *model.m_Nodes[int(i)];
        x[3 * i] = node.X, x[3 * i + 1] = node.Y, x[3 * i + 2] = node.Z;
        ids.mutable_data()[i] = node.ID;
        restraints.mutable_data()[i] = node.Restraint;
    }
    out["nodes"] = xyz, out["node_ids"] = ids, out["restraints"] = restraints;
}

void PutMembers(py::dict& out, const ModalData_Orvo& model, const FirstIndex& node, const FirstIndex& material,
                const Names& names)
{
    const FirstIndex section(model.m_LSections, [](const LSection_Orvo& s) { return SectionKey(s.ShapeCode, s.ID); });
    const py::ssize_t m = model.m_Lines.GetSize();
    py::array_t<std::int32_t> ends({m, py::ssize_t(2)}), sections(m), materials(m), groupIndex(m), shapes(m);
    py::array_t<std::uint8_t> releases({m, py::ssize_t(2)});
    py::list memberGroups(m), groups;
    std::unordered_map<std::string_view, std::pair<py::str, std::int32_t>> groupOf;
    for (py::ssize_t i = 0; i < m; ++i) {
        const Line_Orvo& line = *model.m_Lines[int(i)];
        ends.mutable_data()[2 * i] = node(line.StartNode);
        ends.mutable_data()[2 * i + 1] = node(line.EndNode);
        releases.mutable_data()[2 * i] = line.StartRelease;
        releases.mutable_data()[2 * i + 1] = line.EndRelease;
        sections.mutable_data()[i] = section(SectionKey(line.SectionShape, line.SectionID));
        materials.mutable_data()[i] = material(line.MaterialID);
        shapes.mutable_data()[i] = line.SectionShape;
        auto [group, added] = groupOf.try_emplace(line.GroupName, py::str(), std::int32_t(groups.size()));
        if (added) {
            group->second.first = names.Str(line.GroupName);
            groups.append(group->second.first);
        }
        memberGroups[i] = group->second.first;
        groupIndex.mutable_data()[i] = group->second.second;
    }
    out["members"] = ends, out["member_releases"] = releases, out["member_sections"] = sections;
    out["member_materials"] = materials, out["member_shapes"] = shapes;
    out["member_groups"] = memberGroups, out["groups"] = groups, out["member_group_index"] = groupIndex;
}

void PutAreas(py::dict& out, const ModalData_Orvo& model, const FirstIndex& node, const FirstIndex& material)
{
    const FirstIndex thickness(model.m_ASections, [](const ASection_Orvo& s) { return s.ID; });
    const py::ssize_t count = model.m_Areas.GetSize();
    py::list areas(count);
    py::array_t<std::int32_t> kinds(count), thicknesses(count), materials(count);
    for (py::ssize_t i = 0; i < count; ++i) {
        const Area_Orvo& area = *model.m_Areas[int(i)];
        py::array_t<std::int32_t> corners(area.Nodes.Count);
        for (int k = 0; k < area.Nodes.Count; ++k)
            corners.mutable_data()[k] = node(area.Nodes[k]);
        areas[i] = corners;
        kinds.mutable_data()[i] = area.Kind;
        thicknesses.mutable_data()[i] = thickness(area.SectionID);
        materials.mutable_data()[i] = material(area.MaterialID);
    }
    out["areas"] = areas, out["area_kinds"] = kinds, out["area_thicknesses"] = thicknesses;
    out["area_materials"] = materials;
}

// The loads with the index of the node (member) that lists each: load number k is the k-th load.
template <class Row, class Load, class Carrier, class Fill>
py::array_t<Row> LoadRows(const OwnedArray<Load>& loads, const OwnedArray<Carrier>& carriers,
                          ValueArray<int> Carrier::*listed, std::int32_t Row::*carrier, Fill fill)
{
    py::array_t<Row> rows(loads.GetSize());
    Row* row = rows.mutable_data();
    for (int i = 0; i < loads.GetSize(); ++i) {
        fill(*loads[i], row[i]);
        row[i].*carrier = -1;
    }
    for (int c = 0; c < carriers.GetSize(); ++c)
        for (int number : carriers[c]->*listed)
            if (number >= 1 && number <= loads.GetSize() && row[number - 1].*carrier < 0)
                row[number - 1].*carrier = c;
    return rows;
}

void PutLoads(py::dict& out, const Import& import, const Names& names, const py::object& LoadCase)
{
    const ModalData_Orvo& model = import.model;
    out["point_loads"] = LoadRows(model.m_PointLoads, model.m_Nodes, &Node_Orvo::PointLoads, &PointLoadRow::node,
                                  [](const PointLoad_Orvo& l, PointLoadRow& r) {
                                      r = {l.CaseKind, l.CaseID, l.FX, l.FY, l.FZ, l.MX, l.MY, l.MZ, -1};
                                  });
    out["member_loads"] = LoadRows(model.m_LineLoads, model.m_Lines, &Line_Orvo::LineLoads, &MemberLoadRow::member,
                                   [](const LineLoad_Orvo& l, MemberLoadRow& r) {
                                       r = {l.CaseKind, l.CaseID,    l.LoadType,  l.Direction, l.Value1,
                                            l.Value2,   l.Position1, l.Position2, -1};
                                   });
    // The load cases the loads carry, as the summary counts them.
    std::map<std::pair<int, int>, bool> cases;
    for (const PointLoad_Orvo* load : model.m_PointLoads)
        cases[{load->CaseID, load->CaseKind}] = true;
    for (const LineLoad_Orvo* load : model.m_LineLoads)
        cases[{load->CaseID, load->CaseKind}] = true;
    py::list loadCases;
    for (const auto& entry : cases) {
        const int id = entry.first.first;
        const bool named = id >= 1 && id <= int(import.caseNames.size());
        loadCases.append(LoadCase(id, entry.first.second, names.Str(named ? import.caseNames[id - 1] : "")));
    }
    out["load_cases"] = loadCases;
}

void PutProperties(py::dict& out, const ModalData_Orvo& model, const Names& names, const py::dict& types)
{
    py::list materials, sections, thicknesses;
    for (const Material_Orvo* m : model.m_Materials) {
        const MaterialProperty& p = m->Property;
        materials.append(types["Material"](m->ID, p.Grade, p.Elastic, p.Poisson, p.Thermal, p.Extra, p.Density));
    }
    for (const LSection_Orvo* s : model.m_LSections) {
        py::tuple properties(s->Properties.Count);
        for (int k = 0; k < s->Properties.Count; ++k)
            properties[k] = s->Properties[k];
        sections.append(types["Section"](s->ID, s->ShapeCode, names.Str(s->Name), properties));
    }
    for (const ASection_Orvo* t : model.m_ASections)
        thicknesses.append(types["Thickness"](t->ID, t->Kind, t->Thickness));
    out["materials"] = materials, out["sections"] = sections, out["thicknesses"] = thicknesses;
}

// Translates the file at path and returns the pieces of a Model as a dict; types holds the record
// classes Material, Section, Thickness and LoadCase. The GIL is released while the library works.
py::dict Read(const py::bytes& path, const py::bytes& name, const std::string& profileName,
              const std::optional<std::string>& encoding, const py::dict& types, int threads)
{
    if (profileName != "current" && profileName != "classic")
        throw py::value_error("profile must be 'current' or 'classic', not '" + profileName + "'");
    if (threads < 0)
        throw py::value_error("threads must be 0 (one per hardware thread) or more, not " + std::to_string(threads));
    const MidasReadingProfile profile =
        profileName == "current" ? MidasReadingProfile::Current : MidasReadingProfile::Classic;
    const TextEncoder encoder = encoding ? TextEncoder(*encoding) : TextEncoder();
    if (!encoder.IsValid())
        throw py::value_error(encoder.Error());
    const std::string file = path;
    Import import;
    {
        py::gil_scoped_release unlocked;
        Translate(import, file, profile, threads);
    }
    const auto start = std::chrono::steady_clock::now();
    const Names names(encoder);
    const auto toUtf8 = [&encoder](std::string_view text) { return encoder.ToUtf8(text); };
    py::dict out;
    out["read"] = import.outcome.read, out["ok"] = import.outcome.ok;
    out["messages"] = py::cast(import.outcome.messages);
    const std::string refusal = import.outcome.ok ? "" : RefusalCause(import.findings, profile);
    out["refusal"] = refusal;
    // The summary and the reports as the tool writes them: names converted only when an encoding is given
    // (the JSON writer shows other bytes as \u00XX).
    out["summary"] = py::bytes(ModelSummary(name, import.outcome, import.model, refusal));
    const LineNumbers lines(import.outcome.read ? file : "");
    out["report_text"] = py::bytes(ReportText(import.findings, lines, profile, toUtf8));
    std::string json;
    JsonWriter writer(json);
    ReportJson(writer, import.findings, lines, profile, toUtf8);
    out["report_json"] = json;
    out["length_factor"] = import.lengthFactor;

    const ModalData_Orvo& model = import.model;
    const FirstIndex node(model.m_Nodes, [](const Node_Orvo& n) { return n.ID; });
    const FirstIndex material(model.m_Materials, [](const Material_Orvo& m) { return m.ID; });
    PutNodes(out, model);
    PutMembers(out, model, node, material, names);
    PutAreas(out, model, node, material);
    PutProperties(out, model, names, types);
    PutLoads(out, import, names, types["LoadCase"]);
    const double convert = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    py::dict timings;
    timings["translate"] = import.seconds, timings["convert"] = convert;
    out["timings"] = timings;
    return out;
}

} // namespace

PYBIND11_MODULE(_midas2orvo, module)
{
    PYBIND11_NUMPY_DTYPE(PointLoadRow, CaseKind, CaseID, FX, FY, FZ, MX, MY, MZ, node);
    PYBIND11_NUMPY_DTYPE(MemberLoadRow, CaseKind, CaseID, LoadType, Direction, Value1, Value2, Position1, Position2,
                         member);
    module.doc() = "The translator behind the midas2orvo package; use midas2orvo.read.";
    SetMessageBoxHandler(&CollectMessage, nullptr);
    module.def("read", &Read, py::arg("path"), py::arg("name"), py::arg("profile"), py::arg("encoding"),
               py::arg("types"), py::arg("threads") = 0,
               "Translates the MIDAS text file at path (bytes) and returns the pieces of a midas2orvo.Model as "
               "a dict; name is the file's name in the summary (both bytes).");
}
