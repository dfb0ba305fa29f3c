#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

// Answers the modal boxes that code under test opens with exec(): while it
// lives it watches QApplication::activeModalWidget(), records each box's
// title and text and presses the next queued answer (the last one repeats).
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        QString title;
        QString text;
    };

    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers = {QMessageBox::Ok});

    QList<Box> boxes;

    int count() const { return boxes.size(); }
    QString lastTitle() const { return boxes.isEmpty() ? QString() : boxes.last().title; }
    QString lastText() const { return boxes.isEmpty() ? QString() : boxes.last().text; }

private:
    void poll();

    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};

#endif // MODALANSWERER_H
