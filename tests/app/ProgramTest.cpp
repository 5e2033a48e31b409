// The program as a whole: started as a process, offscreen.
#include <QLibrary>
#include <QProcess>
#include <QProcessEnvironment>

#include "core/SettingsFile.h"
#include "tests/app/WindowTestSupport.h"

namespace varnok::test {
namespace {

const fs::path kProgram = VARNOK_OMBLET_PATH;

struct RunResult {
  bool finished = false;
  int exitCode = -1;
  std::string output;
};

RunResult RunProgram(const QStringList& arguments) {
  QProcess process;
  auto environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process.setProcessEnvironment(environment);
  process.start(QString::fromStdString(kProgram.string()), arguments);
  RunResult result;
  result.finished = process.waitForFinished(60000);
  if (!result.finished) process.kill();
  process.waitForFinished(5000);
  result.exitCode = process.exitCode();
  result.output = process.readAllStandardOutput().toStdString();
  return result;
}

// With a first parameter the program reads and writes that file in its own folder.
TEST(Program, FirstParameterNamesTheSettingsFileBesideTheProgram) {
  TempFolder shots;
  const std::string name = "site2-" + std::to_string(::getpid()) + ".ini";
  const fs::path file = kProgram.parent_path() / name;
  const fs::path usual = fs::path(kProgram).replace_extension(".INI");
  const std::string usualBefore = fs::exists(usual) ? ReadText(usual) : "(none)";
  WriteText(file, "[Form]\nTop=123\nLeft=45\nCurrentIP=site2-host\n[Keep]\nMe=1\n");

  const RunResult run = RunProgram({QString::fromStdString(name), QStringLiteral("--screenshots"),
                                    QString::fromStdString(shots.Path().string())});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  // Eight shown pages, the About box and the command console.
  EXPECT_NE(run.output.find("Saved 10 pictures"), std::string::npos) << run.output;

  SettingsFile written(file);
  EXPECT_EQ(written.ReadInteger("Form", "Top", 0), 123);
  EXPECT_EQ(written.ReadInteger("Form", "Left", 0), 45);
  EXPECT_EQ(written.ReadString("Form", "CurrentIP", ""), "site2-host");
  EXPECT_EQ(written.ReadInteger("Form", "Width", 0), 970);  // written at close
  EXPECT_EQ(written.ReadString("Keep", "Me", ""), "1");
  EXPECT_EQ(fs::exists(usual) ? ReadText(usual) : "(none)", usualBefore);  // the usual file is untouched
  fs::remove(file);
}

TEST(Program, ToneModuleLoadsBesideTheProgram) {
  QLibrary module(QString::fromStdString((kProgram.parent_path() / "varnok_tone").string()));
  EXPECT_NE(module.resolve("VarnokPlayErrorTone"), nullptr) << module.errorString().toStdString();
}

}  // namespace
}  // namespace varnok::test
