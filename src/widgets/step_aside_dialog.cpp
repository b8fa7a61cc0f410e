#include "widgets/step_aside_dialog.h"

#include "platform/program_end.h"

int StepAsideDialog::exec() {
    for (;;) {
        inExec_ = true;
        const int result = QDialog::exec();
        inExec_ = false;
        if (!resume_ || ProgramEnd::requested()) {
            resume_ = false;
            return result;
        }
        resume_ = false;
    }
}

void StepAsideDialog::done(int result) {
    resume_ = false;
    QDialog::done(result);
}

void StepAsideDialog::stepAside() {
    hide();
}

void StepAsideDialog::comeBack() {
    if (ProgramEnd::requested())
        return;
    if (inExec_)
        resume_ = true;
    else
        show();
}
