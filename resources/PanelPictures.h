#pragma once
// Resource numbers of the pictures on the configuration panel's buttons (kinovela.rc).
#define KV_PICTURE_ADD 201
#define KV_PICTURE_REMOVE 202
#define KV_PICTURE_PREVIEW 203
#define KV_PICTURE_OK 204
#define KV_PICTURE_APPLY 205
#define KV_PICTURE_CLOSE 206
