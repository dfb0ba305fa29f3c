#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Answers the modal boxes that code under test opens with exec(): while it
// lives it watches QApplication::activeModalWidget(), records each box's
// title and text and presses the next queued answer (the last one repeats).
// Any other modal dialog is rejected.
class ModalAnswerer
{
public:
    struct Box
    {
        QString title;
        QString text;
    };
    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers = { QMessageBox::Ok })
        : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }

    QList<Box> boxes;
    int count() const { return boxes.size(); }
    QString lastTitle() const { return boxes.isEmpty() ? QString() : boxes.last().title; }
    QString lastText() const { return boxes.isEmpty() ? QString() : boxes.last().text; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        boxes.append({ box->windowTitle(), box->text() });
        const auto answer = m_answers.size() > 1 ? m_answers.takeFirst() : m_answers.value(0);
        if (QAbstractButton* button = box->button(answer))
            button->click();
        else
            box->done(answer);
    }

    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};

#endif // MODALANSWERER_H
