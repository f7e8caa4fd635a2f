// The user in front of windows of the null window driver, for tests of the
// window layer, the framework and the program's dialogs.
//
// Each test starts with the driver fresh. Steps queued with Then are taken one
// at a time, each time a message loop runs dry (a step must queue something,
// a click, a key, a tick, or the loop ends); a test without a loop drives the
// windows itself and calls null_driver::PumpMessages. After the test every
// step must have been taken and every window closed.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>

#include "platform/win32/null/null_driver.h"

class ScriptedUserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(null_driver::Use());
        null_driver::Reset();
        null_driver::SetIdleHandler([this] {
            ++m_idleCalls;
            if (!m_steps.empty()) {
                const std::function<void()> step = std::move(m_steps.front());
                m_steps.pop_front();
                step();
            }
        });
    }
    void TearDown() override {
        null_driver::Reset();
        EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " steps never ran";
        EXPECT_TRUE(null_driver::TopLevelWindows().empty()) << "a window outlived the test";
    }

    void Then(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    // How often a message loop ran dry.
    int IdleCalls() const { return m_idleCalls; }

  private:
    std::deque<std::function<void()>> m_steps;
    int m_idleCalls = 0;
};
