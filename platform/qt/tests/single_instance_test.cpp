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

TEST(SingleInstance, SecondStartSeesTheFirstAndAsksItToRaise) {
  testing::TestApplication();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  SingleInstance first("Kelvara", folder.path());
  ASSERT_TRUE(first.Acquire());
  QSignalSpy raised(&first, &SingleInstance::raiseRequested);

  SingleInstance second("Kelvara", folder.path());
  EXPECT_FALSE(second.Acquire());
  EXPECT_TRUE(second.RequestRaise());
  EXPECT_TRUE(raised.wait(kPatienceMs));
  EXPECT_EQ(raised.count(), 1);
}

TEST(SingleInstance, OtherNamesAreIndependentAndAReleasedLockIsFree) {
  testing::TestApplication();
  QTemporaryDir folder;
  {
    SingleInstance kelvara("Kelvara", folder.path());
    ASSERT_TRUE(kelvara.Acquire());
    SingleInstance vornal("Vornal", folder.path());
    EXPECT_TRUE(vornal.Acquire());
  }
  SingleInstance again("Kelvara", folder.path());
  EXPECT_TRUE(again.Acquire()) << "the lock ends with the instance that held it";
}

TEST(SingleInstance, DeadProgramsLeftoversAreTakenOver) {
  testing::TestApplication();
  QTemporaryDir folder;
  // A lock file naming a process that does not exist, and a stale socket file.
  QFile lock(QDir(folder.path()).filePath("Kelvara.lock"));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write("2147483646\nkelvara\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  lock.close();
  QFile socket(QDir(folder.path()).filePath("Kelvara.socket"));
  ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
  socket.close();
  SingleInstance instance("Kelvara", folder.path());
  EXPECT_TRUE(instance.Acquire());
}

TEST(SingleInstance, UnusableFolderDoesNotPreventTheStart) {
  testing::TestApplication();
  QTemporaryDir folder;
  QFile blocker(QDir(folder.path()).filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  SingleInstance instance("Kelvara", blocker.fileName());
  EXPECT_TRUE(instance.Acquire());
}

TEST(SingleInstance, RaiseWithNobodyListeningFails) {
  testing::TestApplication();
  QTemporaryDir folder;
  SingleInstance lonely("Kelvara", folder.path());
  EXPECT_FALSE(lonely.RequestRaise());
}

TEST(SingleInstance, DeepFolderStillWorks) {
  testing::TestApplication();
  QTemporaryDir folder;
  const QString deep =
      folder.filePath(QString(60, 'd') + "/" + QString("Карта \"100%\" ") + QString(40, 'e'));
  SingleInstance first("Kelvara", deep);
  ASSERT_TRUE(first.Acquire());
  QSignalSpy raised(&first, &SingleInstance::raiseRequested);
  SingleInstance second("Kelvara", deep);
  EXPECT_FALSE(second.Acquire());
  EXPECT_TRUE(second.RequestRaise());
  EXPECT_TRUE(raised.wait(kPatienceMs));
}

}  // namespace
}  // namespace kelvara::platform
