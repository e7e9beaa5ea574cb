#pragma once

#include <functional>

class QDialog;

// Every modal dialog of the shell runs through here, so that one place decides how a dialog is
// shown. Normally that is QDialog::exec(). Tests put a runner of their own in (to read what a
// dialog would show and answer it); with VELMORA_TEST_ANSWER=<code> in the environment the
// dialog is shown, its title written to stderr as "velmora: dialog <title>", and it answers
// <code> by itself after a moment (for runs of the whole game from tests).
using GP_ModalRunner = std::function<int(QDialog&)>;

int GP_RunModal(QDialog& dialog);
// Installs a runner; an empty one restores the normal one. Returns the previous runner.
GP_ModalRunner GP_SetModalRunner(GP_ModalRunner runner);
