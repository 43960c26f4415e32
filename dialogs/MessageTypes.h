#pragma once
// placeholder, replaced by the message-type table
