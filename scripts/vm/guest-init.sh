#!/bin/sh
# The test guest's first and only process (the kernel starts it as init=, no
# service manager): mounts what programs need, mounts the shared folder the
# host hands over with the 9p tag "job", runs its job.sh with the output in
# job.log and the exit status in status, and powers the machine off.
PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export PATH
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
mount -o remount,rw /
hostname vistel-guest
modprobe -a virtio_pci 9pnet_virtio 9p 2>/dev/null
mkdir -p /mnt/job
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 job /mnt/job; then
  echo "vistel-guest: job started $(date -u +%T)"
  (cd /mnt/job && HOME=/root sh ./job.sh > job.log 2>&1; echo $? > status)
  echo "vistel-guest: job ended $(date -u +%T), status $(cat /mnt/job/status)"
  sync
  umount /mnt/job
else
  echo "vistel-guest: no shared folder"
fi
sync
mount -o remount,ro /
echo o > /proc/sysrq-trigger
sleep 60
