// Every public sample file gives a picture or a message through the same path Open uses;
// the run prints one line per file so the outcome of each can be read off the test log.
#include <QDirIterator>
#include <QFileInfo>
#include <cstdio>

#include "documents/picture_io.h"
#include "test_util.h"

namespace rv::test {
namespace {

TEST(CorpusReport, EveryPublicFileGivesAPictureOrAMessage) {
  RV_REQUIRE_CORPORA("");
  int pictures = 0, messages = 0;
  QDirIterator it(CorporaDir(""), {"*.bmp", "*.ico", "*.cur", "*.emf", "*.wmf"}, QDir::Files,
                  QDirIterator::Subdirectories);
  QStringList paths;
  while (it.hasNext()) paths << it.next();
  paths.sort();
  for (const QString& path : paths) {
    const QString shown = QDir(CorporaDir("")).relativeFilePath(path);
    SCOPED_TRACE(shown.toStdString());
    Picture picture;
    std::string outcome;
    try {
      LoadPictureFile(picture, path);
      EXPECT_FALSE(picture.Empty());
      outcome = "picture " + std::to_string(picture.Width()) + " x " +
                std::to_string(picture.Height());
      ++pictures;
    } catch (const EngineError& e) {
      outcome = std::string("message: ") + e.what();
      EXPECT_FALSE(outcome.empty());
      ++messages;
    }
    std::printf("corpus %-40s %s\n", shown.toUtf8().constData(), outcome.c_str());
  }
  std::printf("corpus: %d pictures, %d messages\n", pictures, messages);
  EXPECT_GT(pictures, 0);
}

}  // namespace
}  // namespace rv::test
