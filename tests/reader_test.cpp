// The reader: records of the geometry, group, support and release blocks, and the reading driver's rules
// in both layouts (block ends, keyword lines, comments, repeated blocks, line pieces, CR LF, NUL bytes).
#include "TestSupport.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

auto NodeText = [](const NodeRecord& r) { return Num(r.m_nID) + " " + Num(r.m_dX) + " " + Num(r.m_dY) + " " + Num(r.m_dZ); };
auto ElementText = [](const ElementRecord& r) {
    return Num(r.m_nID) + "|" + r.m_strType + "|" + Num(r.m_nMaterialID) + "|" +
           Num(r.m_nSectionID) + "|" + Ids(r.m_NodeIDs) + "|" + Num(r.m_dAngle);
};
auto GroupText = [](const GroupRecord& r) {
    return r.m_strName + "|" + Ids(r.m_NodeIDs) + "|" + Ids(r.m_ElementIDs) + "|" + r.m_strNodeList + "|" + r.m_strElementList +
           "|" + Ids(r.m_ElementRanges);
};
auto ConstraintText = [](const ConstraintRecord& r) { return Ids(r.m_NodeIDs) + "|" + Ids(r.m_NodeRanges) + "|" + r.m_strFlags; };
auto ReleaseText = [](const FrameReleaseRecord& r) {
    return Num(r.m_nElementID) + "|" + r.m_strPartial + "|" + r.m_strEndIFlags + "|" + r.m_strEndJFlags;
};

// The blocks read: the unit words, node numbers (with coordinates where not all 0), else record counts.
std::string Blocks(const ModelBlocks& b)
{
    std::string text;
    if (const UnitRecord* u = b.unit ? b.unit->GetRecord(0) : nullptr)
        text += "unit " + Num(b.unit->GetCount()) + "[" + u->m_strForce + " " + u->m_strLength + " " + u->m_strHeat + " " +
                u->m_strTemper + "] ";
    for (int i = 0; b.node && i <= b.node->GetCount(); ++i) {
        const NodeRecord* n = b.node->GetRecord(i);
        const std::string xyz = n ? NodeText(*n).substr(Num(n->m_nID).size() + 1) : "";
        text += (i ? "" : "node[") + (!n ? "] " : (i ? " " : "") + Num(n->m_nID) + (xyz == "0 0 0" ? "" : "(" + xyz + ")"));
    }
    auto count = [&text](const char* name, const auto& block) { text += block ? name + Num(block->GetCount()) + " " : ""; };
    count("element ", b.element), count("material ", b.material), count("section ", b.section), count("thickness ", b.thickness);
    count("group ", b.group), count("constraint ", b.constraint), count("release ", b.frameRelease), count("cases ", b.loadCase);
    return text;
}

} // namespace

TEST(Records, GeometryGroupSupportAndReleaseLinesInBothLayouts)
{
    ExpectParsed<UnitRecord>([](const UnitRecord& r) { return r.m_strForce + "|" + r.m_strLength + "|" + r.m_strHeat + "|" + r.m_strTemper; },
                             {{"   KN   , MM, KJ, C", "KN|MM|KJ|C"}, {"KN,MM", "KN|MM||"}, {"N\t,\tMM", "N|MM||"}, {"    ", "rejected"}});
    ExpectParsed<VersionRecord>([](const VersionRecord& r) { return r.m_strVersion; },
                                {{"   7.4.0 ", "   7.4.0 "}, {" ", " "} /* only an empty line ends *VERSION */, {"", "rejected"}});
    ExpectParsed<NodeRecord>(NodeText, {
        {"     1, 0, 0, 0", "1 0 0 0"}, {"2, 1000.5, -3.0e-8, 2500", "2 1000.5 0 2500"} /* |y| <= 1e-7 snaps to 0 */,
        {"3, 1, 2, 3, 99", "3 1 2 3"}, {"4, 1 000, 2, ", "4 1000 2 0"} /* blanks inside fields vanish */, {"5,x,,1e-7", "5 0 0 0"},
        {"6,\t1,2,3", "6 1 2 3"}, {"", "rejected"}, {"   ", "rejected"}, {"1, 2, 3", "rejected"}, {"1,2", "rejected"},
        {"*ELEMENT    ; Elements", "rejected"}});
    ExpectParsed<ElementRecord>(ElementText, {
        {"1, BEAM, 1, 2, 10, 11, 0, 0", "1|BEAM|1|2|10 11|0"}, {"5, TRUSS, 1, 1, 3, 4, 90", "5|TRUSS|1|1|3 4|90"},
        {"6, TENSTR, 1, 1, 3, 4", "6|TENSTR|1|1|3 4|0"},                 // node 2 as the last field
        {"8, BEAM, 1, 1, 0, -4, 45, 7", "8|BEAM|1|1|0 -4|45"},           // node numbers kept whatever their value
        {"7, PLATE, 2, 1, 1, 2, 3, 0, 1, 0", "7|PLATE|2|1|1 2 3 1|0"},  // 0 skipped, the last field not taken
        {"8, WALL, 2, 1, 4, 5,, 6, 7", "8|WALL|2|1|4 5|0"},              // the empty field ends the list
        {"9, beam, 1, 1, 3, 4, 0", "9|beam|1|1||0"}, {"10, SOLID, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8", "10|SOLID|1|1||0"},
        {"6, BEAM, 1, 1, 3", "rejected"} /* no comma after the first node */, {"6, BEAM, 1, 1", "rejected"},
        {"", "rejected"}, {"*MATERIAL", "rejected"}});
    ExpectParsed<GroupRecord>(GroupText, {
        {"G1, 1 2 3, 10 11", "G1|1 2 3|10 11|1 2 3|10 11|"}, {"G1, 1to3, 10", "G1|1|10|1to3|10|"} /* no ranges */,
        {"G1,,10 11", "G1|10 11||10 11||"} /* the empty field is passed over */, {"G1", "rejected"}, {"", "rejected"},
        {"*CONSTRAINT    ; Supports", "rejected"}});
    ExpectParsed<CurrentGroupRecord>(GroupText, {  // fields by comma position; element ranges kept unexpanded
        {"   Svai      , , , 0", "Svai|||||"}, {"   Main  , 1to4, 2 5to9by2 , 0", "Main|||1to4|2 5to9by2|2 5to9by2"},
        {R"("a,b", 3, 4)", "a,b|||3|4|4"}, {"G, 1\t2,", "G|||1\t2||"}, {"G", "G|||||"}, {"", "rejected"}, {" \t", "rejected"}});
    ExpectParsed<ConstraintRecord>(ConstraintText, {
        {"   1 2 5to7 10to14by2, 111000, ", "1 2 5 6 7 10 12 14||111000"}, {"3to1, 111111, ", "||111111"},
        {"4, 110000", "4||110000"} /* no comma after the flags */, {"4,, G", "4||"}, {"4 5 6", "rejected"}, {"", "rejected"}});
    ExpectParsed<CurrentConstraintRecord>(ConstraintText, {{"1 2to8by3 9to1 1to2147483647, 111000,", "|1 2to8by3 1to2147483647|111000"}});
    ExpectParsed<FrameReleaseRecord>(ReleaseText, {
        {"5, NO, 000011, 0, 0, 0, 0, 0, 0,000011, 0, 0, 0, 0, 0, 0, ", "5|NO|000011|000011"}, {"7, 000001, 0, 0,100000,", "7||000001|100000"},
        {"3 4, NO, 1, 0,", "34|NO|1|"} /* blanks removed first */, {"1to5, NO, 1, 0,", "1|NO|1|"},
        {"2, NO, 000011, 0.0, 0, 000001,", "2|NO|000011|0.0"}, {"2, NO, 000011, 0, 0", "2|NO|000011|"}, {"   ", "rejected"}});
    ExpectParsed<CurrentFrameReleaseRecord>(ReleaseText, {  // end J flags seven fields after end I
        {"   58,  NO, 000011, 0, 0, 0, 0, 0, 0,             000011, 0, 0, 0, 0, 0, 0, ", "58|NO|000011|000011"},
        {"1 2, YES, 000011, 1, 2, 3, 4, 5, 6, 010000, 0, 0, 0, 0, 0, 0,", "12|YES|000011|010000"},
        {"7, 000001, 0, 0, 0, 0, 0, 0, 100000", "7||000001|100000"}, {"8, NO, 000011", "8|NO|000011|"}, {"", "rejected"},
        {"  ", "rejected"}});
}

TEST(ReadingDriver, BlockEndsKeywordsAndLinePiecesInBothLayouts)
{
    const std::string script = "*UNIT\nKN,MM,KJ,C\n*NODE    ; Nodes\n; iNO, X, Y, Z\n10, 0, 0, 0\n20, 0, 0, 3000\n"
                               "*ELEMENT\n7, BEAM, 1, 1, 10, 20, 0, 0\n*SECTION MANAGER-GROUP & PART    ; Section Manager\n"
                               "  SECT=1, NO\n*NODE\n; second block of nodes\n30, 4000, 0, 3000\n*ELEMENT    ; Elements\n9, BEAM, 1, 1, 20, 30, 0, 0\n";
    const std::string keywords = "; see *GROUP\nG1, , 1 2\n\n*SECTION-SCALE\n1,DBUSER,A,CC,0,0,0,0,0,0,YES,H,2,1,2,3,4\n\n"
                                 "*SECTION,   ; sections\n2,DBUSER,B,CC,0,0,0,0,0,0,YES,NO,H,2,1,2,3,4\n\n"
                                 "*SECTION MANAGER-STIFFENER\nSECT=1\n\n*GROUP\t;groups\nG2, , 5\n";
    const std::tuple<MidasReadingProfile, std::string, const char*> rows[] = {
        // a blank line ends a block, a keyword may stand after blanks, the end of the file ends the last block
        {kClassic, "*NODE\n1,0,0,0\n2,1,0,0\n\n   *ELEMENT    ; Elements\n1,BEAM,1,1,1,2,0\n", "node[1 2(1 0 0)] element 1 "},
        // ';' is a comment at the first byte only: " ; iNO, X, Y, Z" has three commas and is node 0
        {kClassic, "*NODE\n; iNO, X, Y, Z\n1,0,0,0\n ; iNO, X, Y, Z\n2,0,0,0\n", "node[1 0 2] "},
        {kClassic, "; *NODE\n1,0,0,0\n", ""}, {kClassic, "; *GROUP\nG, , 1\n", "group 1 "}, {kClassic, "x *SECTION\n1,A,N,X,H,2,4\n", "section 1 "},
        // *NODE must begin the line, *GROUP and *SECTION may stand anywhere
        {kClassic, keywords, "section 1 group 1 "},
        {kClassic, "*NODE\n1,0,0,0\n2,0,0,0\n\n*NODE\n3,0,0,0\n\n", "node[3] "},  // a repeated block replaces the earlier
        {kClassic, "*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n", "node[1] "},     // the node parser swallows *ELEMENT
        {kClassic, "*UNIT\r\nKN,M,KJ,C\r\n\r\n*NODE\r\n1,0,0,0\r\n2,1,0,0\r\n\r\n*ELEMENT\r\n1,BEAM,1,1,1,2,0\r\n",
         "unit 1[KN M KJ C] node[1 2(1 0 0)] element 1 "},
        {kClassic, "*NODE\n1,0,0,0" + std::string(504, ' ') + "5,0,0,0\n2,0,0,0\n", "node[1 5 2] "},  // 511-byte pieces
        {kClassic, "*NODE\n" + std::string(10000, 'x') + "\n*ELEMENT\n", "node[] element 0 "},
        {kClassic, std::string("*NODE\n1,0,0,0\0junk\n2,0,0,0\n", 27), "node[1 2] "},  // NUL ends the line's text
        {kClassic, "*UNIT\nKN,M\n\n*NODE\n1,0,0,0\r2,0,0,0\n3,0,0,0\r", "unit 1[KN M  ] node[1 3] "},  // a lone CR stays
        {kClassic, "*MATERIAL\n1,A,N,0,0,0,0,0,1,GB03(S),Q235\n; c\n2,A,N,0,0,0,0,0,1,C,C30\n   \n3,A,N,0,0,0,0,0,1,C,C40\n\n"
                   "*SECTION\n1,A,N,X,H,2,400\n\n2,A,N,X,H,2,500\n\n*THICKNESS\n1,T,S,10\n2,T,S,20\n\n3,T,S,30\n",
         "material 2 section 1 thickness 2 "},
        // without blank lines the classic *UNIT block reads every later line
        {kClassic, script, "unit 12[KN MM KJ C] "},
        // today: keyword lines end blocks, repeated blocks add up, whole lines, "\" continues a line
        {kCurrent, script, "unit 1[KN MM KJ C] node[10 20(0 0 3000) 30(4000 0 3000)] element 2 "},
        {kCurrent, keywords, "section 1 group 1 "},  // whole keywords at the start of the line only
        {kCurrent, "*NODE\n1,0,0,0\n\n; c\n2,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n", "node[1 2] element 1 "},
        {kCurrent, "*NODE\n1," + std::string(600, ' ') + "5,0,0\n2, 1, \\  \n 2, 3\n", "node[1(5 0 0) 2(1 2 3)] "},
        {kCurrent, "*UNIT\r\nKN,M,KJ,C\r\n*NODE\r\n1,0,0,0\r\n2,1,0,0\r\n", "unit 1[KN M KJ C] node[1 2(1 0 0)] "},
        {kCurrent, std::string("*NODE\n1,0,0,0\0junk\n2,0,0,0\n", 27), "node[1 2] "}};
    for (const auto& [profile, text, blocks] : rows)
        EXPECT_EQ(Blocks(Translated(text, profile).translator.m_Blocks), blocks) << (profile == kClassic ? "classic: " : "current: ") << text.substr(0, 80);
}

TEST(ReadingDriver, ReleaseRecordsJoinLinesAndLoadHeadersAreReadOnce)
{
    Translation t;
    ReadText(t, "*FRAME-RLS\n   5, NO, 000011, 0, 0, 0, 0, 0, 0\n          000011, 0, 0, 0, 0, 0, 0, \n"
                "   6, NO, 000001, 0, 0, 0, 0, 0, 0\r\n    000010, 0, 0, 0, 0, 0, 0, \r\n\r\n  \t \r\n*STLDCASE\nDL, D\n\n");
    // The two blank lines join into "," (a record for element 0); then the keyword line is read again.
    std::string releases;
    for (int i = 0; i < t.m_Blocks.frameRelease->GetCount(); ++i) releases += ReleaseText(*t.m_Blocks.frameRelease->GetRecord(i)) + "; ";
    EXPECT_EQ(releases, "5|NO|000011|000011; 6|NO|000001|000010; 0|||; ");
    EXPECT_EQ(Blocks(t.m_Blocks), "release 3 cases 1 ");
    for (const auto& [text, blocks] : {std::pair{"*FRAME-RLS\n   5, NO, 000011, 0, 0", "release 1 "}, {"*FRAME-RLS\n", "release 0 "}}) {
        Translation u;  // the end of the file while joining keeps the record
        ReadText(u, text);
        EXPECT_EQ(Blocks(u.m_Blocks), blocks);
    }
    // Classic: lines that never end with "," join until 2047 bytes (64 of these 35-byte lines); the 17 left
    // join with the blank line. Today's layout: two lines per record.
    const std::string text = "*UNIT\nKN,MM\n\n*NODE\n1,0,0,0\n2,1000,0,0\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,BEAM,1,1,1,2,0\n3,BEAM,1,1,1,2,0\n"
                             "4,BEAM,1,1,1,2,0\n5,BEAM,1,1,1,2,0\n\n*FRAME-RLS\n" + Times(64 * 3 + 17, "   5, NO, 000011, 0, 0, 0, 0, 0, 0\n");
    for (MidasReadingProfile profile : {kClassic, kCurrent}) {
        const Translated m(text + "\n*STLDCASE\nDL, D,\n\n", profile);
        const FrameReleaseBlock& block = *m.translator.m_Blocks.frameRelease;
        ASSERT_EQ(block.GetCount(), profile == kClassic ? 4 : 105);
        for (int i = 0; i < block.GetCount(); ++i) ASSERT_EQ(ReleaseText(*block.GetRecord(i)).substr(0, 12), "5|NO|000011|") << i;
        ASSERT_NE(m.translator.m_Blocks.loadCase, nullptr);  // the keyword line after the releases was read
        ASSERT_EQ(m.model.m_Lines.GetSize(), 5);
        EXPECT_EQ(m.model.m_Lines[4]->StartRelease * 256 + m.model.m_Lines[3]->StartRelease, 0x0C00);
    }
    // Each line opens *ELEMENT and begins *USE-STLD: read again as a section, every later line would re-open the block.
    const Translated m("*UNIT\nKN, M\n\n" + Times(60, "*USE-STLD,BEAM,1,1,1,2 *ELEMENT End of data\n"));
    EXPECT_TRUE(m.ok && m.model.m_Lines.GetSize() == 59) << m.model.m_Lines.GetSize();
}

TEST(ReadMidasFile, ReadsOnlyRegularFilesAndNeverWaits)
{
    const TempFile model("*UNIT\nKN,MM\n\n*NODE\n1,0,0,0\n\n");
    const std::string link = model.path() + ".link", fifo = model.path() + ".fifo";
    const std::pair<std::string, bool> rows[] = {
        {model.path(), true}, {std::filesystem::path(model.path()).parent_path().string(), false}, {"/nonexistent/model.mgt", false},
#ifdef _WIN32
        {"NUL", false}, {"\\\\.\\NUL", false}, {"CONIN$", false}};  // devices
#else
        {link, true} /* a link to a regular file is that file */, {"/dev/null", false}, {"/dev/zero", false},
        {fifo, false} /* refused at once, not waited on */, {"/proc/self/mem", false} /* a regular file whose first read fails */};
    std::filesystem::create_symlink(model.path(), link);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(10);  // a read that waits ends the test program
#endif
    for (const auto& [path, readable] : rows) {
        Translation t;
        EXPECT_TRUE(t.ReadMidasFile(path.c_str()) == readable && t.HaveReadFile() == readable) << path;
    }
#ifndef _WIN32
    ::alarm(0);
#endif
    Translation t;
    EXPECT_FALSE(t.ReadMidasFile(nullptr) || t.HaveReadFile());
    std::filesystem::remove(link), std::filesystem::remove(fifo);
}
