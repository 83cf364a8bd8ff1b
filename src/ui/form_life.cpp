// The window's life, from its first tick to the message loop's end: what each message does in
// each stage (R Running, S SessionAsked, U Unloading, G WindowGone or QuitPosted; nothing comes
// once Ended). "Put back" is the saved text written with the unload's attempts.
//
//  message      | R                        | S                        | U, G
//  -------------+--------------------------+--------------------------+-------------------------
//  tick         | the tick; an end that    | follows the user's text; | as in S; nothing
//               | comes inside its calls   | once read, a text of     | reported
//               | leaves no text of ours   | ours replaced by the     |
//               |                          | saved one; none written  |
//  Enabled,     | switches over            | switches over; -> R when | ignored: nothing is left
//  left dbl-clk |                          | given while nothing runs | to switch
//  mouse press  | remembered               | remembered               | remembered
//  Exit, close  | -> U: timer off, put     | as in R                  | put back again; the
//               | back, window cleared,    |                          | window stays with the
//               | released -> G            |                          | first unload
//  query        | -> S: reason set, put    | as in R                  | reason set, put back
//               | back, reason gone; true  |                          | again, reason gone; true
//  end, true    | reason set, unload as    | as in R                  | reason set, put back
//               | Exit, reason gone        |                          | again, reason gone
//  end, false   | nothing                  | -> R: the next tick      | nothing
//               |                          | writes the track again   |
//  quit taken   | from outside: unload as  | as in R                  | G: put back again if a
//               | Exit -> Ended; no quit   |                          | text of ours may have
//               | posted                   |                          | landed -> Ended
//
// Every put-back is done before its handler returns: Windows may end the process as soon as a
// session message returns. In G the quit goes out (-> QuitPosted) once no handler waits in a call
// into the chat client: a component's wait that took it would give up that call.
#include "ui/form_life.h"

namespace {

// Shown by Windows while the end of the session waits for us.
constexpr std::wstring_view kPuttingBack = L"Tunemood is putting your own mood text back.";

}  // namespace

bool FormLife::OursMayShow() const {
  return mStage == Stage::Running;
}

bool FormLife::Unloaded() const {
  return mStage >= Stage::Unloading;
}

void FormLife::tmrTimer_Timer() {
  mSync.tmrTimer_Timer();
  PostQuitOnceNoCallWaits();
}

void FormLife::mnuEnabled_Click() {
  if (Unloaded()) return;
  // Windows promises the end's message after a query; when none came, the user's own switch says
  // the session goes on.
  if (mStage == Stage::SessionAsked && !mSync.InHandler()) mStage = Stage::Running;
  mSync.mnuEnabled_Click();
  PostQuitOnceNoCallWaits();
}

void FormLife::Form_DblClick() {
  if (mMouse.DblClickSwitches()) mnuEnabled_Click();
}

void FormLife::Form_Close() {
  Unload();
  PostQuitOnceNoCallWaits();
}

// The chat client may end at this very query, and Windows may tell the programs in any order:
// now is the last moment it surely runs. An unload's put-back that waits may yet fail.
bool FormLife::Form_QueryEndSession() {
  if (!Unloaded()) mStage = Stage::SessionAsked;
  mForm.BlockShutdown(kPuttingBack);
  mSync.PutBackBeforeTheSessionEnds();
  mForm.AllowShutdown();
  PostQuitOnceNoCallWaits();
  return true;
}

void FormLife::Form_EndSession(bool ending) {
  if (!ending) {
    if (mStage == Stage::SessionAsked) mStage = Stage::Running;
    return;
  }
  mForm.BlockShutdown(kPuttingBack);
  Unload();
  mForm.AllowShutdown();
  PostQuitOnceNoCallWaits();
}

void FormLife::QuitTaken() {
  if (Unloaded()) {
    mSync.PutBackWhatLanded();
  } else {
    Unload();  // a tool that ends programs, or a component: the program ends as Exit ends it
  }
  mStage = Stage::Ended;
}

// Putting the text back may pump messages, so an unload can arrive while another waits. Each one
// puts it back before it returns; only the first releases the window, once it is done.
void FormLife::Unload() {
  const bool first = !Unloaded();
  if (first) mStage = Stage::Unloading;
  mSync.Form_Unload();
  if (!first) return;
  mForm.Release();
  mStage = Stage::WindowGone;
}

void FormLife::PostQuitOnceNoCallWaits() {
  if (mStage != Stage::WindowGone || mSync.InHandler()) return;
  mStage = Stage::QuitPosted;
  mForm.PostQuit();
}
