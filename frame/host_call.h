// Calls through the stored host table for the forwarding functions outside host_api.cpp: an
// operation whose table, group or entry is missing answers its neutral value, so no call ever
// goes through a null pointer (a host without pictures leaves its image group out).
#pragma once

#include <utility>

#include "frame/host_api.h"

namespace host_call {

template <class T>
struct Same {
    using type = T;
};

template <class Group, class R, class... P, class... A>
R Call(const Group* HostTable::*group, R (*Group::*operation)(P...),
       typename Same<R>::type fallback, A&&... args) {
    const HostTable* table = GetHostTable();
    const Group* ops = table ? table->*group : nullptr;
    if (!ops || !(ops->*operation)) return fallback;
    return (ops->*operation)(std::forward<A>(args)...);
}

template <class Group, class... P, class... A>
void CallVoid(const Group* HostTable::*group, void (*Group::*operation)(P...), A&&... args) {
    const HostTable* table = GetHostTable();
    const Group* ops = table ? table->*group : nullptr;
    if (ops && ops->*operation) (ops->*operation)(std::forward<A>(args)...);
}

} // namespace host_call
