#!/usr/bin/env bash
# Boots the test guest once under software emulation (TCG) with a job:
#   boot-guest.sh IMAGE_DIR JOB_DIR [--snapshot] [--timeout SECONDS]
# IMAGE_DIR holds guest.img, vmlinuz and initrd.img (guest-image.sh makes
# them); JOB_DIR is shared with the guest through 9p and holds job.sh, which
# the guest runs from its own init and answers with job.log and status.
# --snapshot keeps the image as it is (writes go to a temporary overlay).
# The serial console goes to JOB_DIR/console.log. Exits with the job's status.
set -euo pipefail
image_dir=$1 job_dir=$2
shift 2
snapshot=off timeout=1800
while [ $# -gt 0 ]; do
  case $1 in
    --snapshot) snapshot=on ;;
    --timeout) timeout=$2; shift ;;
    *) echo "boot-guest.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
rm -f "$job_dir/status" "$job_dir/job.log"

# SMAP off: with it the guest kernel kills 32-bit Wine processes at their
# return from the kernel. The 9p folder passes owners and modes through.
# tsc=reliable: the kernel otherwise may find the emulated clock unstable in
# the middle of a run and patch its own code for it while the other
# processor runs that code, which under the emulator once ended in a panic
# (an int3 in sched_clock_cpu).
status=0
timeout --foreground -k 10 "$timeout" qemu-system-x86_64 \
  -accel tcg -cpu max,-smap -smp 2 -m 3072 \
  -nographic -no-reboot -nodefaults -serial "file:$job_dir/console.log" \
  -kernel "$image_dir/vmlinuz" -initrd "$image_dir/initrd.img" \
  -append "console=ttyS0 tsc=reliable root=/dev/vda rw init=/usr/local/sbin/vistel-guest-init panic=-1 quiet" \
  -drive "file=$image_dir/guest.img,format=raw,if=virtio,snapshot=$snapshot" \
  -virtfs "local,path=$job_dir,mount_tag=job,security_model=none,id=job" \
  </dev/null || status=$?
if [ $status -eq 124 ] || [ $status -eq 137 ]; then
  echo "boot-guest.sh: the guest did not power off within $timeout s" >&2
  tail -20 "$job_dir/console.log" >&2 || true
  exit 1
fi
if [ ! -f "$job_dir/status" ]; then
  echo "boot-guest.sh: the guest ended without the job's status (qemu exit $status)" >&2
  tail -20 "$job_dir/console.log" >&2 || true
  exit 1
fi
exit "$(cat "$job_dir/status")"
