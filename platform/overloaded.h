// One visitor of several lambdas, one for each alternative of a std::variant.
#pragma once

namespace tolvarine {

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace tolvarine
