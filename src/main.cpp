#include "ui/app/application.h"

int main(int argc, char** argv) { return kelt::RunKelt(argc, argv); }
