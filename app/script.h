// Pilot scripts: one action a line, "AT <simt> <action> <arguments>", '#' starts
// a comment. Actions: open <display> [<vessel>], close <display>,
// recreate <display>, key <display> <KEY>, button <display> <0-11>,
// type <display> <text to the end of the line>, cancel <display>, focus <vessel>,
// warp <factor>, delete <vessel>, save <file>, render <display> <file>.
// Displays are 0..11 or Left, Right, User1..User10.
#ifndef TESSARC_APP_SCRIPT_H
#define TESSARC_APP_SCRIPT_H

#include <string>
#include <vector>

#include "OrbiterAPI.h"

namespace app {

enum class Action { Open, Close, Recreate, Key, Button, Type, Cancel, Focus, Warp, Delete, Save, Render };

struct ScriptAction {
    double t = 0;          // simulation time, s
    Action action = Action::Open;
    int display = -1;
    DWORD key = 0;
    int button = 0;
    double warp = 1;
    std::string text;      // vessel (open, focus, delete), typed text, or file (save, render)
    int line = 0;
};

// Actions in time order (equal times keep the file's order). False with
// "file:line: problem" in err.
bool parseScript(const std::string &text, const std::string &file, std::vector<ScriptAction> &out, std::string &err);
bool readScriptFile(const std::string &path, std::vector<ScriptAction> &out, std::string &err);

const char *actionName(Action a);

}  // namespace app

#endif  // TESSARC_APP_SCRIPT_H
