#include "platform/qt/application.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <stdexcept>

#include "platform/qt/scripted_prompts.h"

namespace {

using namespace std::chrono_literals;

TEST(Application, ExceptionLeavingAHandlerIsShownAndTheLoopGoesOn) {
    platform::ScriptedPrompts prompts;
    QEventLoop loop;
    bool laterRan = false;
    QTimer::singleShot(0, &loop, [] { throw std::runtime_error("Registry open key failed"); });
    QTimer::singleShot(0, &loop, [] { throw 42; });
    QTimer::singleShot(0, &loop, [&] {
        laterRan = true;
        loop.quit();
    });
    QTimer::singleShot(10s, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(laterRan);
    EXPECT_EQ(prompts.shown, QStringList({"Registry open key failed", "Unknown exception"}));
}

TEST(ScriptedPrompts, AnswersInOrderAndOnlyYesGoesOn) {
    platform::ScriptedPrompts prompts;
    prompts.answers = {true, false};
    platform::Prompts& current = platform::CurrentPrompts();
    EXPECT_EQ(&current, &prompts);
    EXPECT_TRUE(current.Ask("one"));
    EXPECT_FALSE(current.Ask("two"));
    EXPECT_FALSE(current.Ask("three"));  // no answer left: No
    prompts.paths = {"/tmp/x"};
    EXPECT_EQ(current.FolderName("Dossier", "/"), "/tmp/x");
    EXPECT_EQ(current.OpenFileName("Ouvrir", "/", "*"), QString());
    EXPECT_EQ(prompts.shown, QStringList({"one", "two", "three", "Dossier", "Ouvrir"}));
}

TEST(ScriptedPrompts, PutsBackThePromptsItReplaced) {
    platform::Prompts* before = &platform::CurrentPrompts();
    {
        platform::ScriptedPrompts outer;
        {
            platform::ScriptedPrompts inner;
            EXPECT_EQ(&platform::CurrentPrompts(), &inner);
        }
        EXPECT_EQ(&platform::CurrentPrompts(), &outer);
    }
    EXPECT_EQ(&platform::CurrentPrompts(), before);
}

}  // namespace
