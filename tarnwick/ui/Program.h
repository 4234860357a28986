#pragma once

#include "CommandPrint.h"
#include "ProgramServices.h"
#include "printing/CommandLine.h"
#include "printing/StartRoutine.h"

#include <QObject>
#include <QPointer>

class InstanceChannel;
class Twk01;
class Twk02;

// The program's two main windows, each a single window object: the configuration
// dialog and the resident form. The program lives while either of them is loaded
// and ends (ended()) when the last of them has gone.
class Program : public QObject {
    Q_OBJECT
public:
    // programName: the executable's file name without extension.
    Program(const ProgramServices& services, QString programName, QObject* parent = nullptr);
    ~Program() override;

    // Goes on from the start routine: the dialog alone at first start, else resident.
    void start(StartStep step);

    // Opens the configuration dialog modeless, or brings it forward when it is open.
    void openConfiguration();
    // Loads the resident form (tray icon, timer) unless it is loaded already.
    void loadResident();
    // Closes the About box, the configuration dialog and the resident form, in that order.
    void shutdown();
    // An action handed over by a later start, which is answered when it is done. Before
    // the first OK there is no resident form, and a print does nothing, as the key does,
    // but says so.
    void runCommand(Command command, const CommandReply& reply = {});
    // Runs the actions that later starts hand over through the channel.
    void takeCommandsFrom(InstanceChannel& channel);

    Twk01* configuration() const;
    Twk02* resident() const;
    SharedValues& shared() { return m_shared; }

signals:
    void ended();

private:
    void formGone(QObject* form);

    ProgramServices m_services;
    SharedValues m_shared;
    QString m_programName;
    QPointer<Twk01> m_twk01;
    QPointer<Twk02> m_twk02;
    // The same two as plain objects: a widget announces its end while it is half
    // destroyed, when it can no longer be looked at as a form.
    QObject* m_dialogObject = nullptr;
    QObject* m_residentObject = nullptr;
    bool m_ended = false;
};
