#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

ModalAnswerer::ModalAnswerer(QList<QMessageBox::StandardButton> answers)
    : m_answers(std::move(answers))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start(5);
}

void ModalAnswerer::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        return;
    }
    boxes.append({box->windowTitle(), box->text()});
    const QMessageBox::StandardButton answer =
        m_answers.size() > 1 ? m_answers.takeFirst() : m_answers.value(0, QMessageBox::Ok);
    if (QAbstractButton* button = box->button(answer))
        button->click();
    else
        box->done(answer);
}
