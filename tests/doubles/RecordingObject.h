#pragma once
// A test double for the outside objects the module calls late-bound: it records every call with its
// arguments and answers each member as the test scripted it.
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/variant/Dispatch.h"

#include <functional>
#include <map>
#include <vector>

namespace qz::test {

class TRecordingObject : public IDispatchObject {
public:
    struct Call {
        AnsiString name;
        DispatchKind kind;
        std::vector<Variant> args;
    };
    using Answer = std::function<Variant(DispArgs& args)>;

    // The member answers with a fixed value, or through a function that may write by-reference arguments.
    TRecordingObject& On(const AnsiString& name, Variant value) {
        answers_[UpperCase(name)] = [value](DispArgs&) { return value; };
        return *this;
    }
    TRecordingObject& On(const AnsiString& name, Answer answer) {
        answers_[UpperCase(name)] = std::move(answer);
        return *this;
    }
    // The member raises with the message.
    TRecordingObject& Fail(const AnsiString& name, const AnsiString& message) {
        answers_[UpperCase(name)] = [message](DispArgs&) -> Variant { throw EOleError(message); };
        return *this;
    }

    Variant Invoke(const AnsiString& name, DispatchKind kind, DispArgs& args) override {
        Call call{name, kind, {}};
        for (int i = 0; i < args.Count(); ++i) call.args.push_back(args[i]);
        calls.push_back(call);
        auto it = answers_.find(UpperCase(name));
        if (it == answers_.end()) {
            if (kind == DispatchKind::PropertyPut) return Variant();
            RaiseUnknownName(name);
        }
        return it->second(args);
    }

    // The calls of one member, in order.
    std::vector<Call> CallsTo(const AnsiString& name) const {
        std::vector<Call> found;
        for (const auto& c : calls)
            if (SameText(c.name, name)) found.push_back(c);
        return found;
    }

    std::vector<Call> calls;

private:
    std::map<AnsiString, Answer> answers_;
};

// A Variant holding a new recording object, and the object itself for scripting.
inline Variant MakeRecording(TRecordingObject*& object) {
    object = new TRecordingObject;
    return Variant(static_cast<IDispatchObject*>(object));
}

} // namespace qz::test
