#pragma once
// Calls into the Firebird client library's own interface, for this adapter and for the
// services manager used by backups: every failure leaves as EPosError with the message
// that Firebird formats for its status vector.
#include "util/Errors.h"

#include <QString>
#include <firebird/Interface.h>

namespace Fb {

// The client library's master interface.
Firebird::IMaster *master();

// The dispatcher that routes a path to the embedded engine or to a server; each
// getDispatcher() hands out a reference of its own, released here.
class TProvider
{
public:
    TProvider() : fProvider(master()->getDispatcher()) {}
    ~TProvider() { fProvider->release(); }
    TProvider(const TProvider &) = delete;
    TProvider &operator=(const TProvider &) = delete;
    Firebird::IProvider *operator->() const { return fProvider; }

private:
    Firebird::IProvider *fProvider;
};

// Firebird's own text for a status vector.
QString statusText(Firebird::IStatus *status);

// Runs work(Firebird::ThrowStatusWrapper *) and turns a Firebird failure into EPosError.
template <class Work>
auto call(Work &&work) -> decltype(work(static_cast<Firebird::ThrowStatusWrapper *>(nullptr)))
{
    Firebird::ThrowStatusWrapper status(master()->getStatus());
    struct Disposer
    {
        Firebird::ThrowStatusWrapper &s;
        ~Disposer() { s.dispose(); }
    } disposer{status};
    try {
        return work(&status);
    } catch (const Firebird::FbException &e) {
        throw EPosError(statusText(e.getStatus()));
    }
}

} // namespace Fb
