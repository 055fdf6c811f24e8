// What differs between Linux and Windows: the default message box, file names in any script (library and
// tool), and files past 2 GB.
#include "TestSupport.h"
#include "platform/MessageBox.h"

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>
#else
#define _pclose pclose
#endif

TEST(Platform, DefaultMessageBoxIsTheSystemBox)
{
    const MessageBoxHandler current = SetMessageBoxHandler(nullptr, nullptr);
    EXPECT_EQ(SetMessageBoxHandler(current, nullptr), &ShowSystemMessageBox);
}

// The library and the tool take UTF-8 paths; Windows opens them as UTF-16, whatever the ANSI code page,
// and hands the tool its arguments as UTF-16.
TEST(Platform, ModelInAFolderNamedInChinese)
{
    const auto folder = std::filesystem::temp_directory_path() / ("midas2orvo_" + std::to_string(getpid())) / u8"模型";
    const auto file = folder / u8"框架 1.mgt";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt", file);
    const Translated read(Utf8Text(file), kClassic, true);
    EXPECT_TRUE(read.ok && read.model.m_Nodes.GetSize() == 7);
#ifdef _WIN32
    FILE* pipe = _wpopen((L"\"\"" + std::filesystem::path(MIDAS2ORVO_CLI).wstring() + L"\" \"" + file.wstring() + L"\"\"").c_str(), L"rb");
#else
    FILE* pipe = popen(("'" MIDAS2ORVO_CLI "' '" + file.string() + "'").c_str(), "r");
#endif
    std::string out(4096, '\0');
    out.resize(pipe ? std::fread(out.data(), 1, out.size(), pipe) : 0);
    if (pipe) _pclose(pipe);
    const std::string summary = Utf8Text(file) + ": translated (kN, mm)\n  nodes          7\n";
    EXPECT_EQ(out.substr(0, summary.size()), summary);
    std::filesystem::remove_all(folder.parent_path());
}

// 2.5 GB, nearly all a hole of NUL bytes: blank lines to the reader, which end the classic *NODE block.
// The second *NODE block lies past 2 GB; the classic profile keeps only it, the current one both.
TEST(Platform, LastNodePast2GBArrives)
{
    SKIP_UNLESS_LONG_TESTS();
    const std::string head = "*UNIT\nKN, MM\n\n*NODE\n1, 0, 0, 0\n", tail = "\n*NODE\n9, 1.5, 2.5, 3.5\n";
    const TempFile file(head, "sparse.mgt");
#ifdef _WIN32
    const HANDLE handle = CreateFileW(std::filesystem::path(file.path()).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD bytes = 0;
    DeviceIoControl(handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &bytes, nullptr), CloseHandle(handle);
#endif
    std::error_code error;
    std::filesystem::resize_file(file.path(), head.size() + (std::size_t(5) << 29), error);
    if (error) GTEST_SKIP() << "no room for a sparse file of 2.5 GB: " << error.message();
    std::ofstream(file.path(), std::ios::binary | std::ios::app) << tail;
    for (MidasReadingProfile profile : {kClassic, kCurrent}) {
        const Translated read(file.path(), profile, true);
        ASSERT_TRUE(read.ok && read.model.m_Nodes.GetSize() == (profile == kClassic ? 1 : 2)) << int(profile);
        const Node_Orvo& last = *read.model.m_Nodes.GetAt(read.model.m_Nodes.GetSize() - 1);
        EXPECT_TRUE(last.X == 1.5 && last.Y == 2.5 && last.Z == 3.5) << int(profile);
    }
    LineStream stream;
    std::string line;  // the stream seeks past 2 GB, counting the line feeds before
    ASSERT_TRUE(stream.Open(file.path().c_str()) && stream.Size() > (std::int64_t(5) << 29));
    EXPECT_TRUE(stream.Seek(stream.Size() - 17) && stream.ReadLine(line) && line == "9, 1.5, 2.5, 3.5");
    EXPECT_EQ(stream.LineFeedsBefore(), 8);
}
