#include "app/Application.h"

int main(int argc, char** argv) { return zmp::CFPUApp::Run(argc, argv); }
