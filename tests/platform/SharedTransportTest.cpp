#include "platform/SharedTransport.h"
#include "support/PrintTransport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace vorlu;

// Connections read on their own threads while the window publishes: each
// read is one whole published setting, never half of one and half of another.
TEST(SharedTransport, EveryReadIsOnePublishedTransportWhole)
{
    SharedTransport shared;
    RemoteTransport a;
    RemoteTransport b;
    b.https = true;
    b.port = 5986;
    b.verifyCertificate = false;
    b.caFile = std::string(200, 'c'); // long enough to live on the heap
    b.connectTimeoutMs = 100;
    shared.publish(a);
    const std::function<RemoteTransport()> source = shared.source();
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const RemoteTransport t = source();
            if (!(t == a) && !(t == b))
                ++torn;
        }
    });
    for (int i = 0; i < 20000; ++i)
        shared.publish(i % 2 ? a : b);
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(shared.current(), a);
}

TEST(SharedTransport, ASourceOutlivesItsHolder)
{
    std::function<RemoteTransport()> source;
    RemoteTransport last;
    last.port = 8443;
    {
        SharedTransport shared;
        source = shared.source();
        shared.publish(last);
    }
    EXPECT_EQ(source(), last);
}
