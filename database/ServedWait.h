#pragma once
// Keeps the application's window alive while the database works. A call made on the
// application's own thread runs on the database thread instead, while the application's
// thread goes on serving its events other than the operator's input: the window repaints
// when uncovered and its activity indicator turns. The operator's clicks and keys wait
// until the call has ended, and a close asked of a window meanwhile is refused, so that
// nothing runs against the connection, or frees what the call uses, while it is busy.
// Calls made on any other thread, or with no application, run in place.
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

// Runs work as above; whatever work throws is thrown again on the calling thread.
void runServingEvents(const std::function<void()> &work);

// The same for work that gives a result.
template <class Work>
auto runServingEventsFor(Work &&work) -> decltype(work())
{
    using TResult = decltype(work());
    if constexpr (std::is_void_v<TResult>) {
        runServingEvents(std::forward<Work>(work));
    } else {
        std::optional<TResult> result;
        runServingEvents([&] { result.emplace(work()); });
        return std::move(*result);
    }
}
