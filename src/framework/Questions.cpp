#include "framework/Questions.h"

// Cancel, Keep Mine and Later are the defaults: what nobody chose must lose nothing.
const ButtonQuestion kChangedFileQuestion{{{"&Overwrite", ButtonRole::destructive},
                                           {"Save &As...", ButtonRole::accept},
                                           {"Cancel", ButtonRole::reject}},
                                          3,
                                          2,
                                          2};

const ButtonQuestion kReloadQuestion{
    {{"&Reload", ButtonRole::destructive}, {"&Keep Mine", ButtonRole::reject}}, 2, 1, 1};

const ButtonQuestion kRecoveryQuestion{{{"&Restore", ButtonRole::accept},
                                        {"&Discard", ButtonRole::destructive},
                                        {"&Later", ButtonRole::reject}},
                                       3,
                                       0,
                                       2};

ChangedFileChoice ChangedFileAnswer(int button) {
    switch (button) {
        case 0:
            return ChangedFileChoice::overwrite;
        case 1:
            return ChangedFileChoice::saveAs;
        default:
            return ChangedFileChoice::cancel;
    }
}

bool ReloadAnswer(int button) {
    return button == 0;
}

RecoveryChoice RecoveryAnswer(int button) {
    switch (button) {
        case 0:
            return RecoveryChoice::restore;
        case 1:
            return RecoveryChoice::discard;
        default:
            return RecoveryChoice::later;
    }
}
