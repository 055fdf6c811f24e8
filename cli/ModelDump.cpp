// Writing the host model as JSON and as a short human summary.
#include "ModelDump.h"

#include <map>
#include <sstream>

#include "Counted.h"
#include "JsonWriter.h"

namespace {

void IntList(JsonWriter& json, const ValueArray<int>& values)
{
    json.BeginArray();
    for (int value : values)
        json.Int(value);
    json.EndArray();
}

void WriteNodes(JsonWriter& json, const ModalData_Orvo& model)
{
    json.Key("Nodes");
    json.BeginArray();
    for (const Node_Orvo* node : model.m_Nodes) {
        json.BeginObject();
        json.Key("ID"), json.Int(node->ID);
        json.Key("X"), json.Double(node->X);
        json.Key("Y"), json.Double(node->Y);
        json.Key("Z"), json.Double(node->Z);
        json.Key("Restraint"), json.Int(node->Restraint);
        json.Key("PointLoads"), IntList(json, node->PointLoads);
        json.EndObject();
    }
    json.EndArray();
}

void WriteLines(JsonWriter& json, const ModalData_Orvo& model, const DumpOptions& options)
{
    json.Key("Lines");
    json.BeginArray();
    for (const Line_Orvo* line : model.m_Lines) {
        json.BeginObject();
        json.Key("ID"), json.Int(line->ID);
        json.Key("StartNode"), json.Int(line->StartNode);
        json.Key("EndNode"), json.Int(line->EndNode);
        json.Key("GroupName"), json.String(options.name(line->GroupName));
        json.Key("SectionShape"), json.Int(line->SectionShape);
        json.Key("SectionID"), json.Int(line->SectionID);
        json.Key("MaterialID"), json.Int(line->MaterialID);
        json.Key("StartRelease"), json.Int(line->StartRelease);
        json.Key("EndRelease"), json.Int(line->EndRelease);
        json.Key("RefX"), json.Double(line->RefX);
        json.Key("RefY"), json.Double(line->RefY);
        json.Key("RefZ"), json.Double(line->RefZ);
        json.Key("RefSpare"), json.Double(line->RefSpare);
        json.Key("LineLoads"), IntList(json, line->LineLoads);
        json.EndObject();
    }
    json.EndArray();
}

void WriteProperties(JsonWriter& json, const ModalData_Orvo& model, const DumpOptions& options)
{
    json.Key("Materials");
    json.BeginArray();
    for (const Material_Orvo* material : model.m_Materials) {
        const MaterialProperty& p = material->Property;
        json.BeginObject();
        json.Key("ID"), json.Int(material->ID);
        json.Key("Grade"), json.Int(p.Grade);
        json.Key("Elastic"), json.Double(p.Elastic);
        json.Key("Poisson"), json.Double(p.Poisson);
        json.Key("Thermal"), json.Double(p.Thermal);
        json.Key("Extra"), json.Double(p.Extra);
        json.Key("Density"), json.Double(p.Density);
        json.EndObject();
    }
    json.EndArray();

    json.Key("LSections");
    json.BeginArray();
    for (const LSection_Orvo* section : model.m_LSections) {
        json.BeginObject();
        json.Key("ID"), json.Int(section->ID);
        json.Key("ShapeCode"), json.Int(section->ShapeCode);
        json.Key("Name"), json.String(options.name(section->Name));
        json.Key("Properties");
        json.BeginArray();
        for (double value : section->Properties)
            json.Double(value);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();

    json.Key("SectionShapes"), IntList(json, model.m_SectionShapes);

    json.Key("ASections");
    json.BeginArray();
    for (const ASection_Orvo* section : model.m_ASections) {
        json.BeginObject();
        json.Key("ID"), json.Int(section->ID);
        json.Key("Kind"), json.Int(section->Kind);
        json.Key("Thickness"), json.Double(section->Thickness);
        json.EndObject();
    }
    json.EndArray();
}

void WriteLoads(JsonWriter& json, const ModalData_Orvo& model)
{
    json.Key("PointLoads");
    json.BeginArray();
    for (const PointLoad_Orvo* load : model.m_PointLoads) {
        json.BeginObject();
        json.Key("CaseKind"), json.Int(load->CaseKind);
        json.Key("CaseID"), json.Int(load->CaseID);
        json.Key("FX"), json.Double(load->FX);
        json.Key("FY"), json.Double(load->FY);
        json.Key("FZ"), json.Double(load->FZ);
        json.Key("MX"), json.Double(load->MX);
        json.Key("MY"), json.Double(load->MY);
        json.Key("MZ"), json.Double(load->MZ);
        json.EndObject();
    }
    json.EndArray();

    json.Key("LineLoads");
    json.BeginArray();
    for (const LineLoad_Orvo* load : model.m_LineLoads) {
        json.BeginObject();
        json.Key("CaseKind"), json.Int(load->CaseKind);
        json.Key("CaseID"), json.Int(load->CaseID);
        json.Key("LoadType"), json.Int(load->LoadType);
        json.Key("Direction"), json.Int(load->Direction);
        json.Key("Value1"), json.Double(load->Value1);
        json.Key("Value2"), json.Double(load->Value2);
        json.Key("Position1"), json.Double(load->Position1);
        json.Key("Position2"), json.Double(load->Position2);
        json.EndObject();
    }
    json.EndArray();
}

void WriteAreas(JsonWriter& json, const ModalData_Orvo& model)
{
    json.Key("Areas");
    json.BeginArray();
    for (const Area_Orvo* area : model.m_Areas) {
        json.BeginObject();
        json.Key("ID"), json.Int(area->ID);
        json.Key("Kind"), json.Int(area->Kind);
        json.Key("Nodes"), IntList(json, area->Nodes);
        json.Key("SectionID"), json.Int(area->SectionID);
        json.Key("MaterialID"), json.Int(area->MaterialID);
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

std::string ModelToJson(const TranslationOutcome& outcome, const ModalData_Orvo& model, const DumpOptions& options)
{
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("read"), json.Bool(outcome.read);
    json.Key("ok"), json.Bool(outcome.ok);
    json.Key("messages");
    json.BeginArray();
    for (const std::string& message : outcome.messages)
        json.String(message);
    json.EndArray();
    json.Key("model");
    json.BeginObject();
    json.Key("Updated"), json.Bool(model.m_bUpdated);
    WriteNodes(json, model);
    WriteLines(json, model, options);
    WriteProperties(json, model, options);
    WriteLoads(json, model);
    WriteAreas(json, model);
    json.EndObject();
    if (options.report) {
        json.Key("report");
        options.report(json);
    }
    json.EndObject();
    out += '\n';
    return out;
}

std::string ModelSummary(const std::string& path, const TranslationOutcome& outcome, const ModalData_Orvo& model,
                         const std::string& refusal)
{
    std::ostringstream text;
    text << path << ": ";
    if (outcome.ok)
        text << "translated (kN, mm)\n";
    else
        text << "not translated: " << (refusal.empty() ? "refused" : refusal) << "\n";
    text << "  nodes          " << model.m_Nodes.GetSize() << "\n";
    text << "  lines          " << model.m_Lines.GetSize() << "\n";
    text << "  areas          " << model.m_Areas.GetSize() << "\n";
    text << "  materials      " << model.m_Materials.GetSize() << "\n";
    text << "  beam sections  " << model.m_LSections.GetSize() << " ("
         << Counted(model.m_SectionShapes.Count, "shape", "shapes") << ")\n";
    text << "  thicknesses    " << model.m_ASections.GetSize() << "\n";
    text << "  point loads    " << model.m_PointLoads.GetSize() << "\n";
    text << "  line loads     " << model.m_LineLoads.GetSize() << "\n";

    // Loads per load case, keyed by the case number and kind they carry.
    std::map<std::pair<int, int>, std::pair<int, int>> perCase;
    for (const PointLoad_Orvo* load : model.m_PointLoads)
        ++perCase[{load->CaseID, load->CaseKind}].first;
    for (const LineLoad_Orvo* load : model.m_LineLoads)
        ++perCase[{load->CaseID, load->CaseKind}].second;
    static const char* const kKinds[] = {"dead", "live", "wind"};
    for (const auto& [key, counts] : perCase) {
        const char* kind = key.second >= 0 && key.second <= 2 ? kKinds[key.second] : "unmatched";
        text << "  load case " << key.first << " (" << kind << "): " << Counted(counts.first, "point load", "point loads")
             << ", " << Counted(counts.second, "line load", "line loads") << "\n";
    }
    for (const std::string& message : outcome.messages)
        text << "  message: " << message << "\n";
    return text.str();
}
