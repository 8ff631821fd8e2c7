#pragma once

// The built engine under a private ibus-daemon, typed into through one client input context: what
// the end-to-end cases of the engine share. The daemon starts the engine from the build tree's
// component file on the client's first key.
#include <gtest/gtest.h>

#include <memory>

#include "tests/inputmethod/app/IBusTestClient.h"
#include "tests/support/PrivateIBusDaemon.h"

class EngineUnderDaemon : public ::testing::Test {
  protected:
    // With an `errorFile`, the daemon's and the engine's standard error go to it.
    void startDaemon(const std::string& errorFile = {}) {
        m_daemon = std::make_unique<PrivateIBusDaemon>(MW_IBUS_COMPONENT_DIR, false, errorFile);
        ASSERT_TRUE(m_daemon->ready());
    }
    // A client context whose engine is Quillora.
    void connectClient() {
        m_client = std::make_unique<IBusTestClient>();
        ASSERT_TRUE(m_client->connected());
        ASSERT_TRUE(m_client->selectEngine("quillora"));
    }
    void TearDown() override {
        m_client.reset();
        m_daemon.reset();
    }

    std::unique_ptr<PrivateIBusDaemon> m_daemon;
    std::unique_ptr<IBusTestClient> m_client;
};
