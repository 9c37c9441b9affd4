// The COM client's objects over hand-written dispatch objects of the test's
// own process, in an apartment of the test's thread, each connection with
// its own watch of the calls.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/com/apartment.h"
#include "host/com/dispatch_object.h"
#include "tests/com/fake_dispatch.h"

namespace tav::com::test {

class ComClientTest : public ::testing::Test {
  protected:
    // A reference to `fake` as the tool holds an object it got from the host.
    host::ObjectRef hostObject(FakeDispatch& fake, BusyRetryPolicy busy = {}) {
        return DispatchObject::wrap(connection(busy), Microsoft::WRL::ComPtr<IDispatch>(&fake));
    }
    // A connection of its own; objects wrapped with the same one share its names.
    std::shared_ptr<Connection> connection(BusyRetryPolicy busy = {}) {
        watches_.push_back(std::make_unique<CallWatch>(busy));
        return std::make_shared<Connection>(*watches_.back());
    }

    Apartment apartment_;

  private:
    std::vector<std::unique_ptr<CallWatch>> watches_;
};

}  // namespace tav::com::test
