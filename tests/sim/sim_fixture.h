// A virtual controller started on its pty with a client on the other end.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "pty_client.h"
#include "virtual_controller.h"

namespace kaldor::sim::test {

// Simulated time that stands practically still, so live values are those of the first instant.
inline constexpr double kFrozenTime = 1e-9;

class SimTest : public ::testing::Test {
protected:
    void startController(VirtualController::Options options) {
        m_controller = std::make_unique<VirtualController>(std::move(options));
        m_device = m_controller->start();
        m_client = std::make_unique<PtyClient>(m_device);
        ASSERT_TRUE(m_client->isOpen()) << m_device;
    }
    void TearDown() override {
        m_client.reset();
        if (m_controller) {
            m_controller->stop();
        }
    }

    VirtualController& controller() { return *m_controller; }
    PtyClient& client() { return *m_client; }

    std::unique_ptr<VirtualController> m_controller;
    std::unique_ptr<PtyClient> m_client;
    std::string m_device;
};

}  // namespace kaldor::sim::test
