// The entry's kinds and results, as the host calls them.
#include <string>

#include "frame/host_api.h"
#include "frame/host_text.h"
#include "frame/module_entry.h"
#include "frame/module_state.h"
#include "frame/module_strings.h"
#include "frame/plugin_ids.h"
#include "host/plugins/registry.h"
#include "module_fixture.h"

namespace lumeno_test {
namespace {

class EntryTest : public ModuleTest {
protected:
    void* Table() { return const_cast<HostTable*>(session().table()); }
    int32_t InitWithPath(const char* path) {
        return session().callMain(C4D_ACTION_INIT, Table(), nullptr, const_cast<char*>(path));
    }
    int32_t EndDirect() { return session().callMain(C4D_ACTION_END, nullptr, nullptr, nullptr); }
    bool SaverNameLoaded() { return !HostText(GetModuleString(kStringSaverName)).empty(); }
};

TEST_F(EntryTest, QueryAnswersTheRelease) {
    EXPECT_EQ(session().query(), LUMENO_HOST_RELEASE >= 95 ? 3 : 2);
}

TEST_F(EntryTest, InterfaceVersion7500IsAcceptedAnd7499Refused) {
    NewSession(7499);
    EXPECT_EQ(session().init(), C4D_RESULT_TOO_OLD);
    // Refused: no path is kept, so there is no folder to load strings from.
    EXPECT_EQ(session().message(C4D_MSG_LOAD_STRINGS), C4D_RESULT_REFUSED);
    EXPECT_STREQ(Module().modulePath, "");

    NewSession(7500);
    EXPECT_EQ(session().init(), C4D_RESULT_OK);
    EXPECT_EQ(session().message(C4D_MSG_LOAD_STRINGS), C4D_RESULT_OK);
}

TEST_F(EntryTest, RefusedFirstInitialiseStillCounts) {
    NewSession(7499);
    EXPECT_EQ(session().init(), C4D_RESULT_TOO_OLD);
    EXPECT_EQ(session().init(), C4D_RESULT_OK);  // the count was already 1
    EXPECT_EQ(Module().startCount, 2);
}

TEST_F(EntryTest, SecondInitialiseAnswersAtOnceWithoutPathOrTable) {
    ASSERT_EQ(session().init(), C4D_RESULT_OK);
    EXPECT_EQ(session().callMain(C4D_ACTION_INIT, nullptr, nullptr, nullptr), C4D_RESULT_OK);
    EXPECT_EQ(EndDirect(), C4D_RESULT_OK);
    EXPECT_EQ(GetHostTable(), session().table());
}

TEST_F(EntryTest, NoPathIsRefused) {
    EXPECT_EQ(InitWithPath(nullptr), C4D_RESULT_TOO_OLD);
    EXPECT_EQ(EndDirect(), C4D_RESULT_OK);
}

TEST_F(EntryTest, TwoInitialisesNeedTwoEndsBeforeTheStringsGo) {
    const long handlesBefore = session().liveHandles();
    ASSERT_EQ(session().init(), C4D_RESULT_OK);
    ASSERT_EQ(session().init(), C4D_RESULT_OK);
    ASSERT_EQ(session().message(C4D_MSG_LOAD_STRINGS), C4D_RESULT_OK);
    EXPECT_TRUE(SaverNameLoaded());

    EXPECT_EQ(session().end(), C4D_RESULT_OK);
    EXPECT_TRUE(SaverNameLoaded());
    EXPECT_EQ(session().end(), C4D_RESULT_OK);
    EXPECT_FALSE(SaverNameLoaded());
    // Strings, their folder and (9.5) the module path's file name are all given back.
    EXPECT_EQ(session().liveHandles(), handlesBefore);
}

TEST_F(EntryTest, AnExtraEndChangesNothing) {
    EXPECT_EQ(EndDirect(), C4D_RESULT_OK);
    EXPECT_EQ(Module().startCount, 0);
    EXPECT_EQ(session().init(), C4D_RESULT_OK);
    EXPECT_EQ(Module().startCount, 1);
}

TEST_F(EntryTest, PathOf1031CharactersFitsAndLongerIsRefused) {
    const std::string fits = "/" + std::string(1030, 'p');
    ASSERT_EQ(fits.size(), 1031u);
    EXPECT_EQ(InitWithPath(fits.c_str()), C4D_RESULT_OK);
    EXPECT_EQ(std::string(Module().modulePath), fits);
    EXPECT_EQ(EndDirect(), C4D_RESULT_OK);

    const std::string longer = fits + "q";
    EXPECT_EQ(InitWithPath(longer.c_str()), C4D_RESULT_TOO_OLD);
    EXPECT_STREQ(Module().modulePath, "");
    EXPECT_EQ(session().message(C4D_MSG_LOAD_STRINGS), C4D_RESULT_REFUSED);
    EXPECT_EQ(EndDirect(), C4D_RESULT_OK);
}

TEST_F(EntryTest, UnknownKindsAndMessagesAreRefused) {
    ASSERT_EQ(session().init(), C4D_RESULT_OK);
    EXPECT_EQ(session().callMain(5, nullptr, nullptr, nullptr), C4D_RESULT_REFUSED);
    EXPECT_EQ(session().callMain(0, nullptr, nullptr, nullptr), C4D_RESULT_REFUSED);
    EXPECT_EQ(session().callMain(7, nullptr, nullptr, nullptr), C4D_RESULT_REFUSED);
    EXPECT_EQ(session().message(2), C4D_RESULT_REFUSED);
    EXPECT_EQ(session().message(C4D_MSG_NONE), C4D_RESULT_OK);
    EXPECT_EQ(session().message(C4D_MSG_LOAD_STRINGS), C4D_RESULT_OK);
}

TEST_F(EntryTest, StartWithoutStringsSkipsTheNamedPlugins) {
    ASSERT_EQ(session().init(), C4D_RESULT_OK);
    EXPECT_EQ(session().start(), C4D_RESULT_OK);
    // Only the two commands register, with empty names.
    ASSERT_EQ(session().registry().size(), 2u);
    for (const host::RegisteredPlugin* plugin : session().registry().list()) {
        EXPECT_EQ(plugin->kind, PLUGIN_KIND_COMMAND);
        EXPECT_EQ(plugin->name, "");
    }
}

TEST_F(EntryTest, ModuleCanBeStartedAgainAfterItsLastEnd) {
    StartModule();
    const size_t registered = session().registry().size();
    EXPECT_GE(registered, 5u); // the saver, two tags, two commands at least
    NewSession();
    StartModule();
    EXPECT_EQ(session().registry().size(), registered);
    EXPECT_TRUE(SaverNameLoaded());
}

} // namespace
} // namespace lumeno_test
