#include "app/qt/instance_claim.h"

#include <QTemporaryDir>
#include <QtTest/QSignalSpy>

#include <gtest/gtest.h>

#include "app/session.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::app {
namespace {

constexpr int kPatienceMs = 10000;

TEST(InstanceClaim, ASecondStartRaisesTheFirstAndStartsNothing) {
  platform::testing::TestApplication();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  platform::test_support::ScratchDir dir;
  // The start deletes the scratch file of the current directory: make it the case's own.
  const std::filesystem::path previousFolder = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const platform::DeviceFolders folders{dir / "state", dir / "fonts", dir / "card"};
  platform::Registry registry(dir / "registry.db");
  platform::Profile profile(registry);
  profile.WriteInt(kSettingsSection, "b_Duble", 1);
  const QString name = QString::fromUtf8(kInstanceName.data(), kInstanceName.size());

  platform::SingleInstance first(name, folder.path());
  Session running;
  ASSERT_EQ(StartUp({&profile, SingleInstanceClaim(first), folders, (dir / "").string(), ""}, running).outcome,
            StartUpOutcome::kStarted);
  EXPECT_TRUE(running.settings.doubleChart);
  QSignalSpy raised(&first, &platform::SingleInstance::raiseRequested);

  platform::SingleInstance second(name, folder.path());
  Session another;
  EXPECT_EQ(StartUp({&profile, SingleInstanceClaim(second), folders, (dir / "").string(), ""}, another).outcome,
            StartUpOutcome::kAlreadyRunning);
  EXPECT_FALSE(another.settings.doubleChart);
  EXPECT_TRUE(raised.wait(kPatienceMs));
  std::filesystem::current_path(previousFolder);
}

}  // namespace
}  // namespace kelvara::app
