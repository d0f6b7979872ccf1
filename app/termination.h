// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tessella {

// On SIGTERM or SIGINT the window gets an ordinary close request (on the window thread),
// so a session that ends or a script that stops the program closes it as a user would.
void closeOnTermination(QWidget *window);

} // namespace tessella
