#pragma once

#include <QString>

#include <vector>

namespace Firebird {
class IMaster;
class IProvider;
class IUtil;
class IStatus;
class FbException;
}

namespace plavex::fb {

// The client library, set up once per process. Before the first call into
// fbclient the program points FIREBIRD at a configuration root of its own that
// runs the embedded engine in SuperClassic mode, so several processes can work
// on one database file at once; plugins, intl and messages are the system's.
class Engine {
public:
    static Firebird::IMaster *master();
    static Firebird::IProvider *provider();
    static Firebird::IUtil *util();

    // Folder of the configuration root (created on first use).
    static QString configRoot();

    // Turns an engine exception into our error, keeping the main ISC code.
    [[noreturn]] static void rethrow(const Firebird::FbException &e, const QString &sql = {});
    static QString formatStatus(Firebird::IStatus *status);
    static long mainCode(Firebird::IStatus *status);
    static std::vector<long> codes(Firebird::IStatus *status);
};

} // namespace plavex::fb
