#include "platform/qt/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QSignalSpy>

#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::platform {
namespace {

constexpr int kPatienceMs = 10000;

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    ASSERT_TRUE(folder_.isValid());
  }
  // Leaves a file of this name in the folder, as a dead program or a careless user would.
  QString Leave(const QString& name, const QByteArray& bytes = {}) {
    QFile file(QDir(folder_.path()).filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  QTemporaryDir folder_;
};

// Also in a deep folder with an awkward name, where a socket path may grow too long.
TEST_F(SingleInstanceTest, SecondStartSeesTheFirstAndAsksItToRaise) {
  const QString deep = folder_.filePath(QString(60, 'd') + "/" + "Карта \"100%\" " + QString(40, 'e'));
  for (const QString& folder : {folder_.path(), deep}) {
    SingleInstance first("Kelvara", folder);
    ASSERT_TRUE(first.Acquire()) << folder.toStdString();
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second("Kelvara", folder);
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(second.RequestRaise());
    EXPECT_TRUE(raised.wait(kPatienceMs));
    EXPECT_EQ(raised.count(), 1);
  }
}

TEST_F(SingleInstanceTest, OtherNamesAreIndependentAndAReleasedLockIsFree) {
  {
    SingleInstance kelvara("Kelvara", folder_.path());
    ASSERT_TRUE(kelvara.Acquire());
    SingleInstance vornal("Vornal", folder_.path());
    EXPECT_TRUE(vornal.Acquire());
  }
  SingleInstance again("Kelvara", folder_.path());
  EXPECT_TRUE(again.Acquire()) << "the lock ends with the instance that held it";
  SingleInstance gone("Vornal", folder_.path());
  EXPECT_FALSE(gone.RequestRaise()) << "nobody is listening";
}

TEST_F(SingleInstanceTest, DeadProgramsLeftoversAreTakenOver) {
  // A lock file naming a process that does not exist, and a stale socket file.
  Leave("Kelvara.lock", "2147483646\nkelvara\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  Leave("Kelvara.socket");
  SingleInstance instance("Kelvara", folder_.path());
  EXPECT_TRUE(instance.Acquire());
}

TEST_F(SingleInstanceTest, UnusableFolderDoesNotPreventTheStart) {
  SingleInstance instance("Kelvara", Leave("not-a-folder"));
  EXPECT_TRUE(instance.Acquire());
}

}  // namespace
}  // namespace kelvara::platform
