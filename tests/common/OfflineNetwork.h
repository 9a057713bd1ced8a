#pragma once
// For its lifetime, the process's network answers every request with a
// failure: pictures and documents named by URL are never fetched.

#include "platform/events/Services.h"
#include "platform/net/Http.h"

namespace qmtest {

class OfflineNetwork : public qm::net::NetworkDriver
{
public:
    OfflineNetwork() { qm::events::Services::Get().SetNetwork(this); }
    ~OfflineNetwork() override { qm::events::Services::Get().SetNetwork(nullptr); }
    OfflineNetwork(const OfflineNetwork&) = delete;
    OfflineNetwork& operator=(const OfflineNetwork&) = delete;
    qm::net::HttpResponse Send(const qm::net::HttpRequest&) override { return {}; }
};

} // namespace qmtest
