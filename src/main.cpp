#include "app/Application.h"

int main(int argc, char** argv) { return vorlu::runApplication(argc, argv); }
