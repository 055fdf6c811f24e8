// Shared helpers for the tests: reading model text, reaching the translator's working state, temp files.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MIDAStranslatetoOrvo.h"
#include "reader/GeometryBlocks.h"
#include "reader/GroupBlocks.h"
#include "reader/LineStream.h"
#include "reader/LoadBlocks.h"
#include "reader/PropertyBlocks.h"
#include "translator/Translation.h"
#include "translator/WorkRecords.h"

// The translator's working state, reached through the translator behind the exported class.
struct TranslatorAccess {
    static void ReadText(Translation& t, const std::string& text)
    {
        LineStream stream;
        stream.OpenText(text);
        t.ReadStream(stream);
    }
    static PooledArray<WorkNode>& Nodes(Translation& t) { return t.m_NodeArray; }
    static PooledArray<WorkLine>& Lines(Translation& t) { return t.m_LineArray; }
    static OwnedArray<WorkLSection>& LSections(Translation& t) { return t.m_LSectionArray; }
    static ValueArray<int>& SectionTypes(Translation& t) { return t.m_SectionTypes; }
    static OwnedArray<WorkMaterial>& Materials(Translation& t) { return t.m_MaterialArray; }
    static OwnedArray<WorkASection>& ASections(Translation& t) { return t.m_ASectionArray; }
    static PooledArray<WorkPointLoad>& PointLoads(Translation& t) { return t.m_PointLoadArray; }
    static PooledArray<WorkLineLoad>& LineLoads(Translation& t) { return t.m_LineLoadArray; }
    static NodeBlock* Node(Translation& t) { return t.m_Blocks.node.get(); }
    static ElementBlock* Element(Translation& t) { return t.m_Blocks.element.get(); }
    static UnitBlock* Unit(Translation& t) { return t.m_Blocks.unit.get(); }
    static VersionBlock* Version(Translation& t) { return t.m_Blocks.version.get(); }
    static MaterialBlock* Material(Translation& t) { return t.m_Blocks.material.get(); }
    static SectionBlock* Section(Translation& t) { return t.m_Blocks.section.get(); }
    static ThicknessBlock* Thickness(Translation& t) { return t.m_Blocks.thickness.get(); }
    static GroupBlock* Group(Translation& t) { return t.m_Blocks.group.get(); }
    static ConstraintBlock* Constraint(Translation& t) { return t.m_Blocks.constraint.get(); }
    static FrameReleaseBlock* FrameRelease(Translation& t) { return t.m_Blocks.frameRelease.get(); }
    static LoadCaseBlock* LoadCase(Translation& t) { return t.m_Blocks.loadCase.get(); }
    static int InitialObjectID(Translation& t) { return t.InitialObjectID(); }
    static bool TranslateUnit(Translation& t) { return t.TranslateUnit(); }
    static double ElementLength(Translation& t, int index) { return t.GetElementLength(index); }
    static double LengthFactor(Translation& t) { return t.m_dLengthFactor; }
    static double ForceFactor(Translation& t) { return t.m_dForceFactor; }
    static int LengthUnit(Translation& t) { return t.m_nLengthUnit; }
    static int ForceUnit(Translation& t) { return t.m_nForceUnit; }
};

// Collects the texts of the message box while alive.
class MessageCapture {
public:
    MessageCapture() { m_Previous = SetMessageBoxHandler(&Record, this); }
    ~MessageCapture() { SetMessageBoxHandler(m_Previous, nullptr); }
    std::vector<std::string> texts;

private:
    static void Record(const char* text, void* self) { static_cast<MessageCapture*>(self)->texts.push_back(text); }
    MessageBoxHandler m_Previous;
};

// A file in the test's temporary directory holding exactly the given bytes; removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& bytes, const std::string& name = "model.mgt")
    {
        static int counter = 0;
        m_Path = std::filesystem::temp_directory_path() /
                 ("midas2orvo_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + "_" + name);
        std::ofstream(m_Path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::filesystem::remove(m_Path); }
    std::string path() const { return m_Path.string(); }

private:
    std::filesystem::path m_Path;
};

// Reads text as a file and translates it into model; returns TranMidastoOrvo's result.
inline bool TranslateText(const std::string& text, ModalData_Orvo& model)
{
    MIDAStranslatetoOrvo translator;
    TempFile file(text);
    return translator.ReadMidasFile(file.path().c_str()) && translator.TranMidastoOrvo(model);
}

// Directory of the real MIDAS files shared with the project, or empty when this checkout has none.
inline std::string SharedModelsDir()
{
    for (const char* candidate : {MIDAS2ORVO_SOURCE_DIR "/../shared/real-models", "../shared/real-models"}) {
        if (std::filesystem::is_directory(candidate))
            return candidate;
    }
    return {};
}
