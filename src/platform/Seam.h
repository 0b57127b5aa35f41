#pragma once

#include <functional>
#include <utility>

namespace dorvanel {

// A behaviour that a host or a test may replace, such as how a message box is shown: the
// shipped function runs until another is installed, and installing none restores it.
template <typename Signature>
class Seam;

template <typename Result, typename... Arguments>
class Seam<Result(Arguments...)> {
public:
    using Function = std::function<Result(Arguments...)>;

    explicit Seam(Function shipped) : shipped_(shipped), current_(std::move(shipped)) {}

    Result operator()(Arguments... arguments) const { return current_(std::forward<Arguments>(arguments)...); }

    // Installs the replacement (the shipped function when it is empty); returns the one it replaces.
    Function replace(Function replacement) {
        Function previous = std::move(current_);
        current_ = replacement ? std::move(replacement) : shipped_;
        return previous;
    }

private:
    Function shipped_;
    Function current_;
};

}  // namespace dorvanel
