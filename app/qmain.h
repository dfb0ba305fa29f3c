#ifndef QMAIN_H
#define QMAIN_H

int qMain(int argc, char** argv);

#endif // QMAIN_H
