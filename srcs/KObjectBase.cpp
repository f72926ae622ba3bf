#include "KObjectBase.h"

KObjectBase::KObjectBase() {}
KObjectBase::~KObjectBase() {}
