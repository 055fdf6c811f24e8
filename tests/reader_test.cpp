// Record parsers of the geometry, group, constraint and release blocks, and the reading driver's rules.
#include "TestSupport.h"

namespace {

template <class Record>
std::unique_ptr<Record> Parsed(const char* line, bool accepted = true)
{
    auto record = std::make_unique<Record>();
    EXPECT_EQ(record->Parse(line), accepted) << line;
    return record;
}

template <class List>
std::vector<int> Ids(const List& values) { return std::vector<int>(values.begin(), values.end()); }

using V = std::vector<int>;

} // namespace

TEST(UnitRecord, ReadsUpToFourWords)
{
    auto unit = Parsed<UnitRecord>("   KN   , MM, KJ, C");
    EXPECT_EQ(unit->m_strForce, "KN");
    EXPECT_EQ(unit->m_strLength, "MM");
    EXPECT_EQ(unit->m_strHeat, "KJ");
    EXPECT_EQ(unit->m_strTemper, "C");
    unit = Parsed<UnitRecord>("KN,MM");
    EXPECT_EQ(unit->m_strHeat, "");
    EXPECT_EQ(unit->m_strTemper, "");
    unit = Parsed<UnitRecord>("N\t,\tMM");
    EXPECT_EQ(unit->m_strForce, "N");  // tabs are trimmed from each word
    EXPECT_EQ(unit->m_strLength, "MM");
    Parsed<UnitRecord>("    ", false);
}

TEST(VersionRecord, KeepsTheLineAsRead)
{
    EXPECT_EQ(Parsed<VersionRecord>("   7.4.0 ")->m_strVersion, "   7.4.0 ");
    EXPECT_EQ(Parsed<VersionRecord>(" ")->m_strVersion, " ");  // only an empty line ends *VERSION
    Parsed<VersionRecord>("", false);
}

TEST(NodeRecord, ParsesNumberAndCoordinates)
{
    const struct {
        const char* line;
        int id;
        double x, y, z;
    } rows[] = {
        {"     1, 0, 0, 0", 1, 0, 0, 0},
        {"2, 1000.5, -3.0e-8, 2500", 2, 1000.5, 0.0, 2500},  // |y| <= 1e-7 snaps to zero
        {"3, 1, 2, 3, 99", 3, 1, 2, 3},                       // extra fields ignored
        {"4, 1 000, 2, ", 4, 1000, 2, 0},                     // blanks inside fields vanish
        {"5,x,,1e-7", 5, 0, 0, 0},
        {"6,\t1,2,3", 6, 1, 2, 3},
    };
    for (const auto& row : rows) {
        auto node = Parsed<NodeRecord>(row.line);
        EXPECT_EQ(node->m_nID, row.id) << row.line;
        EXPECT_EQ(node->m_dX, row.x) << row.line;
        EXPECT_EQ(node->m_dY, row.y) << row.line;
        EXPECT_EQ(node->m_dZ, row.z) << row.line;
    }
    for (const char* rejected : {"", "   ", "1, 2, 3", "*ELEMENT    ; Elements", "1,2"})
        Parsed<NodeRecord>(rejected, false);
}

TEST(ElementRecord, ParsesLineMembers)
{
    auto beam = Parsed<ElementRecord>("1, BEAM, 1, 2, 10, 11, 0, 0");
    EXPECT_EQ(beam->m_nID, 1);
    EXPECT_EQ(beam->m_strType, "BEAM");
    EXPECT_EQ(beam->m_nMaterialID, 1);
    EXPECT_EQ(beam->m_nSectionID, 2);
    EXPECT_EQ(Ids(beam->m_NodeIDs), (V{10, 11}));
    EXPECT_EQ(beam->m_dAngle, 0.0);

    auto truss = Parsed<ElementRecord>("5, TRUSS, 1, 1, 3, 4, 90");
    EXPECT_EQ(Ids(truss->m_NodeIDs), (V{3, 4}));
    EXPECT_EQ(truss->m_dAngle, 90.0);

    auto cable = Parsed<ElementRecord>("6, TENSTR, 1, 1, 3, 4");  // node 2 as the last field
    EXPECT_EQ(Ids(cable->m_NodeIDs), (V{3, 4}));
    EXPECT_EQ(cable->m_dAngle, 0.0);

    auto zero = Parsed<ElementRecord>("8, BEAM, 1, 1, 0, -4, 45, 7");  // node numbers kept whatever value
    EXPECT_EQ(Ids(zero->m_NodeIDs), (V{0, -4}));
    EXPECT_EQ(zero->m_dAngle, 45.0);

    Parsed<ElementRecord>("6, BEAM, 1, 1, 3", false);  // no comma after the first node
    Parsed<ElementRecord>("6, BEAM, 1, 1", false);     // fewer than four commas
    Parsed<ElementRecord>("", false);
    Parsed<ElementRecord>("*MATERIAL", false);
}

TEST(ElementRecord, ParsesAreaAndUnknownElements)
{
    auto plate = Parsed<ElementRecord>("7, PLATE, 2, 1, 1, 2, 3, 0, 1, 0");
    EXPECT_EQ(Ids(plate->m_NodeIDs), (V{1, 2, 3, 1}));  // 0 skipped, last field not taken
    auto wall = Parsed<ElementRecord>("8, WALL, 2, 1, 4, 5,, 6, 7");
    EXPECT_EQ(Ids(wall->m_NodeIDs), (V{4, 5}));  // the empty field ends the list
    auto lower = Parsed<ElementRecord>("9, beam, 1, 1, 3, 4, 0");
    EXPECT_EQ(lower->m_strType, "beam");
    EXPECT_EQ(lower->m_NodeIDs.Count, 0);
    auto solid = Parsed<ElementRecord>("10, SOLID, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8");
    EXPECT_EQ(solid->m_NodeIDs.Count, 0);
}

TEST(GroupRecord, ParsesNameAndLists)
{
    auto group = Parsed<GroupRecord>("G1, 1 2 3, 10 11");
    EXPECT_EQ(group->m_strName, "G1");
    EXPECT_EQ(Ids(group->m_NodeIDs), (V{1, 2, 3}));
    EXPECT_EQ(Ids(group->m_ElementIDs), (V{10, 11}));
    EXPECT_EQ(Ids(Parsed<GroupRecord>("G1, 1to3, 10")->m_NodeIDs), V{1});  // no ranges in groups
    group = Parsed<GroupRecord>("G1,,10 11");  // the empty field is passed over
    EXPECT_EQ(Ids(group->m_NodeIDs), (V{10, 11}));
    EXPECT_EQ(group->m_ElementIDs.Count, 0);
    for (const char* rejected : {"G1", "", "*CONSTRAINT    ; Supports"})
        Parsed<GroupRecord>(rejected, false);
}

TEST(ConstraintRecord, ExpandsNodeListsAndKeepsFlags)
{
    auto constraint = Parsed<ConstraintRecord>("   1 2 5to7 10to14by2, 111000, ");
    EXPECT_EQ(Ids(constraint->m_NodeIDs), (V{1, 2, 5, 6, 7, 10, 12, 14}));
    EXPECT_EQ(constraint->m_strFlags, "111000");
    EXPECT_EQ(Parsed<ConstraintRecord>("3to1, 111111, ")->m_NodeIDs.Count, 0);
    EXPECT_EQ(Parsed<ConstraintRecord>("4, 110000")->m_strFlags, "110000");  // no comma after the flags
    EXPECT_EQ(Parsed<ConstraintRecord>("4,, G")->m_strFlags, "");
    Parsed<ConstraintRecord>("4 5 6", false);  // no comma after the node list
    Parsed<ConstraintRecord>("", false);
}

TEST(FrameReleaseRecord, ReadsBothLayouts)
{
    auto release = Parsed<FrameReleaseRecord>(
        "5, NO, 000011, 0, 0, 0, 0, 0, 0,000011, 0, 0, 0, 0, 0, 0, ");
    EXPECT_EQ(release->m_nElementID, 5);
    EXPECT_EQ(release->m_strPartial, "NO");
    EXPECT_EQ(release->m_strEndIFlags, "000011");
    EXPECT_EQ(release->m_strEndJFlags, "000011");

    release = Parsed<FrameReleaseRecord>("7, 000001, 0, 0,100000,");
    EXPECT_EQ(release->m_strPartial, "");
    EXPECT_EQ(release->m_strEndIFlags, "000001");
    EXPECT_EQ(release->m_strEndJFlags, "100000");

    EXPECT_EQ(Parsed<FrameReleaseRecord>("3 4, NO, 1, 0,")->m_nElementID, 34);  // blanks removed first
    EXPECT_EQ(Parsed<FrameReleaseRecord>("1to5, NO, 1, 0,")->m_nElementID, 1);
    EXPECT_EQ(Parsed<FrameReleaseRecord>("2, NO, 000011, 0.0, 0, 000001,")->m_strEndJFlags, "0.0");
    EXPECT_EQ(Parsed<FrameReleaseRecord>("2, NO, 000011, 0, 0")->m_strEndJFlags, "");
    Parsed<FrameReleaseRecord>("   ", false);
}

// ---- the reading driver ----

namespace {

struct Read {
    Translation translator;
    explicit Read(const std::string& text) { TranslatorAccess::ReadText(translator, text); }
    NodeBlock* nodes() { return TranslatorAccess::Node(translator); }
    ElementBlock* elements() { return TranslatorAccess::Element(translator); }
};

} // namespace

TEST(ReadingDriver, BlankLinesEndBlocksAndKeywordsMayStandAnywhere)
{
    Read read("*NODE\n1,0,0,0\n2,1,0,0\n\n   *ELEMENT    ; Elements\n1,BEAM,1,1,1,2,0\n");
    ASSERT_NE(read.nodes(), nullptr);
    ASSERT_NE(read.elements(), nullptr);
    EXPECT_EQ(read.nodes()->GetCount(), 2);
    EXPECT_EQ(read.elements()->GetCount(), 1);  // end of file ends the last block with all its lines
}

TEST(ReadingDriver, CommentsAreSkippedOnlyAtTheFirstByte)
{
    Read read("*NODE\n; iNO, X, Y, Z\n1,0,0,0\n ; iNO, X, Y, Z\n2,0,0,0\n");
    // " ; iNO, X, Y, Z" goes to the parser, which finds three commas and keeps a node numbered 0.
    ASSERT_EQ(read.nodes()->GetCount(), 3);
    EXPECT_EQ(read.nodes()->GetRecord(1)->m_nID, 0);
    Read outside("; *NODE\n1,0,0,0\n");
    EXPECT_EQ(outside.nodes(), nullptr);     // *NODE must begin the trimmed line
}

TEST(ReadingDriver, KeywordsAnywhereInTheLineOpenBlocks)
{
    Read read("; see *GROUP\nG1, , 1 2\n\n*SECTION-SCALE\n1,DBUSER,A,CC,0,0,0,0,0,0,YES,H,2,1,2,3,4\n\n");
    ASSERT_NE(TranslatorAccess::Group(read.translator), nullptr);
    EXPECT_EQ(TranslatorAccess::Group(read.translator)->GetCount(), 1);
    ASSERT_NE(TranslatorAccess::Section(read.translator), nullptr);
    EXPECT_EQ(TranslatorAccess::Section(read.translator)->GetCount(), 1);
}

TEST(ReadingDriver, ARepeatedBlockReplacesTheEarlierOne)
{
    Read read("*NODE\n1,0,0,0\n2,0,0,0\n\n*NODE\n3,0,0,0\n\n");
    ASSERT_EQ(read.nodes()->GetCount(), 1);
    EXPECT_EQ(read.nodes()->GetRecord(0)->m_nID, 3);
}

TEST(ReadingDriver, KeywordLineWithoutBlankLineIsSwallowed)
{
    // The *ELEMENT line reaches the node parser, which rejects it: the element block is never opened.
    Read read("*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n");
    EXPECT_EQ(read.nodes()->GetCount(), 1);
    EXPECT_EQ(read.elements(), nullptr);
}

TEST(ReadingDriver, CrLfFilesEndBlocksAtBlankLines)
{
    Read read("*UNIT\r\nKN,M,KJ,C\r\n\r\n*NODE\r\n1,0,0,0\r\n2,1,0,0\r\n\r\n*ELEMENT\r\n1,BEAM,1,1,1,2,0\r\n");
    ASSERT_NE(TranslatorAccess::Unit(read.translator), nullptr);
    EXPECT_EQ(TranslatorAccess::Unit(read.translator)->GetCount(), 1);
    EXPECT_EQ(TranslatorAccess::Unit(read.translator)->GetRecord(0)->m_strTemper, "C");
    EXPECT_EQ(read.nodes()->GetCount(), 2);
    EXPECT_EQ(read.elements()->GetCount(), 1);
}

TEST(ReadingDriver, LongLinesAreReadIn511ByteParts)
{
    // A node line padded past 511 bytes: the rest is read as the next line.
    std::string padded = "1,0,0,0" + std::string(504, ' ') + "5,0,0,0\n2,0,0,0\n";
    Read read("*NODE\n" + padded);
    ASSERT_EQ(read.nodes()->GetCount(), 3);
    EXPECT_EQ(read.nodes()->GetRecord(1)->m_nID, 5);

    std::string huge(10000, 'x');
    Read big("*NODE\n" + huge + "\n*ELEMENT\n");
    EXPECT_EQ(big.nodes()->GetCount(), 0);
}

TEST(ReadingDriver, NulEndsTheLineText)
{
    Read read(std::string("*NODE\n1,0,0,0\0junk\n2,0,0,0\n", 27));
    EXPECT_EQ(read.nodes()->GetCount(), 2);
}

TEST(FrameReleaseBlock, JoinsTwoPhysicalLinesAndStepsBackToTheKeyword)
{
    Read read("*FRAME-RLS\n   5, NO, 000011, 0, 0, 0, 0, 0, 0\n          000011, 0, 0, 0, 0, 0, 0, \n"
              "   6, NO, 000001, 0, 0, 0, 0, 0, 0\r\n    000010, 0, 0, 0, 0, 0, 0, \r\n\r\n"
              "  \t \r\n*STLDCASE\nDL, D\n\n");
    FrameReleaseBlock* releases = TranslatorAccess::FrameRelease(read.translator);
    ASSERT_NE(releases, nullptr);
    // The two blank lines join into "," (a record for element 0); then the keyword line is met.
    ASSERT_EQ(releases->GetCount(), 3);
    EXPECT_EQ(releases->GetRecord(2)->m_nElementID, 0);
    EXPECT_EQ(releases->GetRecord(0)->m_nElementID, 5);
    EXPECT_EQ(releases->GetRecord(0)->m_strEndJFlags, "000011");
    EXPECT_EQ(releases->GetRecord(1)->m_strEndIFlags, "000001");
    EXPECT_EQ(releases->GetRecord(1)->m_strEndJFlags, "000010");
    // The driver read the *STLDCASE line after the step back, whatever blank lines came before it.
    ASSERT_NE(TranslatorAccess::LoadCase(read.translator), nullptr);
    EXPECT_EQ(TranslatorAccess::LoadCase(read.translator)->GetCount(), 1);
}

TEST(FrameReleaseBlock, EndOfStreamWhileJoiningKeepsTheRecord)
{
    Read read("*FRAME-RLS\n   5, NO, 000011, 0, 0, 0, 0, 0, 0");
    ASSERT_EQ(TranslatorAccess::FrameRelease(read.translator)->GetCount(), 1);
    Read empty("*FRAME-RLS\n");
    EXPECT_EQ(TranslatorAccess::FrameRelease(empty.translator)->GetCount(), 0);
}

TEST(FrameReleaseBlock, OverlongJoinIsCutAt2047Bytes)
{
    std::string text = "*FRAME-RLS\n5, NO, 000011";
    for (int i = 0; i < 400; ++i)
        text += "\n0 0 0 0 0 0 0";
    text += "\n*NODE\n1,0,0,0\n";
    Read read(text);
    ASSERT_GE(TranslatorAccess::FrameRelease(read.translator)->GetCount(), 1);
    ASSERT_NE(read.nodes(), nullptr);  // the keyword line was still found and read
    EXPECT_EQ(read.nodes()->GetCount(), 1);
}

TEST(ReadMidasFile, RefusesPathsThatCannotBeOpened)
{
    Translation translator;
    EXPECT_FALSE(translator.HaveReadFile());
    EXPECT_FALSE(translator.ReadMidasFile("/nonexistent/model.mgt"));
    EXPECT_FALSE(translator.ReadMidasFile(std::filesystem::temp_directory_path().string().c_str()));
    EXPECT_FALSE(translator.ReadMidasFile(nullptr));
    EXPECT_FALSE(translator.HaveReadFile());
    TempFile empty("");
    EXPECT_TRUE(translator.ReadMidasFile(empty.path().c_str()));
    EXPECT_TRUE(translator.HaveReadFile());
}

TEST(ReadMidasFile, SurvivesBinaryInput)
{
    std::string bytes;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(seed >> 16));
        if (i % 997 == 0)
            bytes += "\n*NODE\n*ELEMENT\n*FRAME-RLS\n*USE-STLD,X\n*CONLOAD\n";
    }
    TempFile file(bytes);
    Translation translator;
    EXPECT_TRUE(translator.ReadMidasFile(file.path().c_str()));
    ModalData_Orvo model;
    translator.TranMidastoOrvo(model);  // no *UNIT: refused, but nothing may crash
}

TEST(ReadingDriver, ALoadHeaderThatAlsoOpensABlockIsNotReadAgain)
{
    // Each line opens *ELEMENT (it stands anywhere in the line) and begins with *USE-STLD. Reading the
    // section from that line again would let every later line re-open the element block.
    std::string text = "*UNIT\nKN, M\n\n";
    for (int i = 0; i < 60; ++i)
        text += "*USE-STLD,BEAM,1,1,1,2 *ELEMENT End of data\n";
    ModalData_Orvo model;
    ASSERT_TRUE(TranslateText(text, model));
    EXPECT_EQ(model.m_Lines.GetSize(), 59);
}
