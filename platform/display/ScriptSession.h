#pragma once
// A scripted session: the lines of a script carried out on the session's window once it is shown
// modally, one line a step of its modal loop, with the input going through the display backend as a
// person's keys and clicks would. Modal dialogs opened meanwhile are answered from the "answer" and
// "dialog" lines given before them. A line that cannot be carried out ends the script; every form
// still open is then closed as Cancel would close it.
#include "platform/display/ScriptParser.h"

#include <deque>
#include <memory>

namespace qz {

class TCustomForm;
class TDisplayBackend;

class TScriptSession {
public:
    // closeButton: what closes the window when the script ends with the window still open.
    TScriptSession(std::vector<TScriptLine> lines, AnsiString closeButton);
    // A session of another copy of the class library in the process: it answers this copy's dialogs
    // with what the running session gives (nullptr when no session runs).
    static std::unique_ptr<TScriptSession> Guest();
    ~TScriptSession();

    // Acts for one step of the modal loop of form; false when the form is to end with mrCancel.
    bool ModalStep(TDisplayBackend& display, TCustomForm* form, int step);
    // The modal loop of form ended.
    void ModalEnded(TCustomForm* form);
    // Ends the session before it starts: the line cannot be read; the window is closed as Cancel.
    void Abandon(int line, const AnsiString& why) { Fail(line, why); }
    // A line failed or an expectation did not hold.
    bool Failed() const { return failed_; }
    // The window was shown and the script ran.
    bool Started() const { return started_; }

private:
    struct Context;
    struct Answer;
    Context* ContextOf(TCustomForm* form);
    Context* Open(TDisplayBackend& display, TCustomForm* form);
    void Run(TDisplayBackend& display, Context& context, const TScriptLine& line);
    void Reply(TDisplayBackend& display, TCustomForm& dialog, const Answer& answer);
    void CloseAsCancel(TDisplayBackend& display, TCustomForm& form);
    void Fail(int line, const AnsiString& why);
    void QueueAnswers(const TScriptLine& line);
    // The channel's side: the next answer as script text for another copy.
    const char* Lend(int* aborting);
    bool FetchAnswer(TDisplayBackend& display, TCustomForm& dialog);
    void Register(bool on);

    std::vector<TScriptLine> lines_;
    AnsiString closeButton_;
    std::vector<std::unique_ptr<Context>> contexts_; // innermost last
    std::deque<Answer> answers_;
    bool started_ = false;
    bool failed_ = false;
    bool aborting_ = false;
    bool guest_ = false;
    AnsiString lent_;
    std::deque<std::vector<TScriptLine>> fetched_; // lines taken from the running session
};

} // namespace qz
