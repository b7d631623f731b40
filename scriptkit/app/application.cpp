#include "scriptkit/app/application.h"

int ASKInitialize() {
  return 0;
}
