#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Manager.h"
#include "platform/Error.h"
#include "support/RecordingOskel.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace dorvanel;
using dorvanel::test::raisedBy;
using dorvanel::test::RecordingOskel;

namespace {

// Every Manager made here gets a RecordingOskel from the host-class registry.
class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = HostClasses::registered();
        HostClasses::registered().oskel = [this] {
            made.push_back(std::make_shared<RecordingOskel>());
            return made.back();
        };
    }
    void TearDown() override {
        gManager.reset();
        HostClasses::registered() = saved_;
    }
    std::vector<std::shared_ptr<RecordingOskel>> made;

private:
    HostClasses saved_;
};

TEST_F(ManagerTest, CreationPublishesAManagerAndTitlesANewServicesObject) {
    auto manager = Manager::create();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(gManager, manager);
    EXPECT_EQ(gOskel, made[0]);
    EXPECT_EQ(made[0]->calls, QStringList{QStringLiteral("SetProductTitle Brenmoria 2014")});
}

TEST_F(ManagerTest, SecondManagerReplacesTheFirstAndAnOlderOnesEndEmptiesBoth) {
    std::weak_ptr<Manager> first = Manager::create();
    auto second = Manager::create();
    EXPECT_EQ(gManager, second);
    EXPECT_TRUE(first.expired()) << "the first lived only through gManager";
    EXPECT_EQ(gOskel, made[1]) << "the first one's end ran before the second was published";

    // The end of an older Manager, kept by the host, empties the references of a newer one.
    auto older = Manager::create();
    auto newer = Manager::create();
    older.reset();
    EXPECT_EQ(gManager, nullptr);
    EXPECT_EQ(gOskel, nullptr);
}

TEST_F(ManagerTest, SetOskelHandsTheHelpFileButNotTheTitle) {
    auto manager = Manager::create();
    auto hostOwn = std::make_shared<RecordingOskel>();
    manager->SetOskel(hostOwn);
    EXPECT_EQ(gOskel, hostOwn);
    EXPECT_EQ(hostOwn->calls, QStringList{QStringLiteral("SetHelpFile []")});
    manager->SetOskel(hostOwn, QStringLiteral("ayuda.html"));
    EXPECT_EQ(hostOwn->calls.last(), QStringLiteral("SetHelpFile [ayuda.html]"));
    EXPECT_EQ(raisedBy([&] { manager->SetOskel(nullptr); }).number(), Error::ObjectNotSet);
}

TEST_F(ManagerTest, MissingHostClassFailsCreationWithItsNumber) {
    HostClasses::registered().oskel = nullptr;
    EXPECT_EQ(raisedBy([] { Manager::create(); }).number(), Error::CannotCreateObject);
    EXPECT_EQ(gManager, nullptr);
}

}  // namespace
