#include "KObjectListable.h"

KObjectListable::KObjectListable() : _lpListNext(nullptr), _lpListPred(nullptr) {}
KObjectListable::~KObjectListable() {}
