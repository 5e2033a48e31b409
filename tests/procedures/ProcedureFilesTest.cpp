#include "procedures/ProcedureFiles.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"
#include "core/AppError.h"

namespace varnok {
namespace {

using Names = std::vector<std::string>;

TEST(ProcedureFiles, ListsOrdinaryPrcFilesIgnoringCaseSorted) {
  testing::TempFolder folder;
  for (const char* name :
       {"normal.prc", "Alpha.PRC", "beta.Prc", "notes.txt", "prc", "x.prc.bak", ".hidden.prc"})
    folder.Write(name, "x");
  std::filesystem::create_directory(folder.Path() / "dir.prc");
  EXPECT_EQ(ListProcedureFiles(folder.Path()), (Names{"Alpha.PRC", "beta.Prc", "normal.prc"}));
  EXPECT_EQ(ListProcedureFiles(folder.Path() / "absent"), Names{});
}

TEST(ProcedureFiles, ReadsLinesOfEitherLineEnd) {
  testing::TempFolder folder;
  EXPECT_EQ(ReadProcedureLines(folder.Write("a.prc", "scan 1\r\n\r\ntip 2\r\n")),
            (Names{"scan 1", "", "tip 2"}));
  EXPECT_EQ(ReadProcedureLines(folder.Write("b.prc", "one\ntwo")), (Names{"one", "two"}));
  EXPECT_EQ(ReadProcedureLines(folder.Write("c.prc", "")), Names{});
}

TEST(ProcedureFiles, UnreadableFileIsAnAppErrorNamingIt) {
  testing::TempFolder folder;
  const std::filesystem::path missing = folder.Path() / "gone.prc";
  try {
    ReadProcedureLines(missing);
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing.string());
  }
  std::filesystem::create_directory(folder.Path() / "dir.prc");
  EXPECT_THROW(ReadProcedureLines(folder.Path() / "dir.prc"), AppError);
}

TEST(ProcedureFiles, ProgramMustBeAFile) {
  testing::TempFolder folder;
  folder.Write("QXC.exe", "x");
  std::filesystem::create_directory(folder.Path() / "Folder.exe");
  EXPECT_TRUE(ProgramFileExists(folder.Path(), "QXC.exe"));
  EXPECT_FALSE(ProgramFileExists(folder.Path(), "qxc.exe"));
  EXPECT_FALSE(ProgramFileExists(folder.Path(), "Folder.exe"));
  EXPECT_FALSE(ProgramFileExists(folder.Path(), ""));
  EXPECT_TRUE(ProgramFileExists(folder.Path(), (folder.Path() / "QXC.exe").string()));
}

}  // namespace
}  // namespace varnok
