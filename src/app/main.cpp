#include "app/Application.h"
#include "app/GameArguments.h"

int main(int argc, char** argv) { return runApplication(GameArguments::parse(argc, argv)); }
