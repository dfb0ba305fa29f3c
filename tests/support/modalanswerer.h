#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QtWidgets>

// Answers the modal boxes that code under test opens with exec(): while it
// lives it records each box's title and text and presses the next queued
// answer (the last one repeats). Any other modal dialog is rejected.
class ModalAnswerer
{
public:
    struct Box { QString title, text; };
    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers = { QMessageBox::Ok }) : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }
    QList<Box> boxes;
    int count() const { return boxes.size(); }
    QString lastTitle() const { return boxes.value(count() - 1).title; }
    QString lastText() const { return boxes.value(count() - 1).text; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return modal ? void(qobject_cast<QDialog*>(modal)->reject()) : void();
        boxes.append({ box->windowTitle(), box->text() });
        const auto answer = m_answers.size() > 1 ? m_answers.takeFirst() : m_answers.value(0);
        QAbstractButton* button = box->button(answer);
        button ? button->click() : box->done(answer);
    }
    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};

#endif // MODALANSWERER_H
